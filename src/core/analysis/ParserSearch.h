#pragma once

#include <functional>
#include <memory>
#include <string>

#include "analysis/ParseCache.h"
#include "grammar/TextRules.h"

namespace lectoria::analysis {

/// Decides a topic for a sentence file of a lesson folder, as a topic search's rule would.
using TopicMatcher = std::function<grammar::MatchResult(const std::string& lessonPath, const std::string& title)>;

/// The topic test of a search by the parser: a sentence passes when the parser's findings for its
/// file (through `cache`, so that a parsed library is not parsed again) show the topic of
/// `selection`; the words that show it are the matched words. Empty for a selection the parser
/// does not cover, which keeps its word-list rule. Safe to call from several search threads at
/// once: they take turns with the one parser and cache.
TopicMatcher ParserTopicMatcher(std::shared_ptr<IParser> parser, std::shared_ptr<ParseCache> cache,
                                const std::string& selection);

} // namespace lectoria::analysis
