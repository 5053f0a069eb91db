#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "analysis/ParseCache.h"
#include "grammar/TextRules.h"

namespace lectoria::analysis {

/// One parser and its cache, shared by every thread that searches or fills the cache: a parser
/// and an SQLite connection each serve one thread at a time, so the threads take turns per file.
class ParserDesk
{
public:
    ParserDesk(std::unique_ptr<IParser> parser, std::unique_ptr<ParseCache> cache);

    /// The findings for the sentence of a file: kept ones while the file is unchanged, else parsed.
    ParserAnalysis AnalyseFile(const std::string& file, std::string_view sentence);
    /// Whether the file's findings are kept for its present modification time.
    bool IsKept(const std::string& file);
    /// The parser alone, for a sentence that is no file.
    ParserAnalysis AnalyseSentence(std::string_view sentence);

private:
    std::mutex m_turn;
    std::unique_ptr<IParser> m_parser;
    std::unique_ptr<ParseCache> m_cache;
};

/// The program's one desk: made on first success from the parser `makeParser` gives and the user's
/// parse cache, then shared. Null, with `error`, while either cannot be opened; a later call tries
/// again.
std::shared_ptr<ParserDesk>
SharedParserDesk(const std::function<std::unique_ptr<IParser>(std::string& error)>& makeParser, std::string& error);

/// Decides a topic for a sentence file of a lesson folder, as a topic search's rule would.
using TopicMatcher = std::function<grammar::MatchResult(const std::string& lessonPath, const std::string& title)>;

/// The topic test of a search by the parser: a sentence passes when the parser's findings for its
/// file show the topic of `selection`; the words that show it are the matched words. Empty for a
/// selection the parser does not cover, which keeps its word-list rule.
TopicMatcher ParserTopicMatcher(std::shared_ptr<ParserDesk> desk, const std::string& selection);

/// Parses every sentence file of the chosen books ('/'-joined folder names under `libraryRoot`)
/// whose findings are not kept yet, so that a later search by the parser finds them ready.
/// `progress` hears (done, total) in lesson folders; returns false when `cancel` stopped it.
bool FillParseCache(ParserDesk& desk, const std::string& libraryRoot, const std::string& strSubjectBook,
                    const std::function<void(int done, int total)>& progress, const std::atomic<bool>* cancel);

} // namespace lectoria::analysis
