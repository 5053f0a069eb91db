#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/ParserSearch.h"

namespace lectoria::grammar {
struct RuleTable;
}

namespace lectoria::cli {

/// "analyse [--by rules|parser|both] [SENTENCE]": one line per finding, source TAB topic TAB words.
int Analyse(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
            const grammar::RuleTable& table);

/// The topic test of "search --by parser" for a topic the parser covers: the parser's findings for each
/// sentence file, through the parse cache in the user's data folder. Empty with `error` set when the
/// parser or the cache cannot be had.
analysis::TopicMatcher ParserTopicMatcher(const std::string& selection, std::string& error);

} // namespace lectoria::cli
