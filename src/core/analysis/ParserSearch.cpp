#include "analysis/ParserSearch.h"

#include <mutex>

#include "analysis/Analysis.h"
#include "library/Library.h"

namespace lectoria::analysis {

TopicMatcher ParserTopicMatcher(std::shared_ptr<IParser> parser, std::shared_ptr<ParseCache> cache,
                                const std::string& selection)
{
    if (!ParserCovers(selection) || !parser || !cache) {
        return {};
    }
    auto turn = std::make_shared<std::mutex>();
    return [parser, cache, turn, selection](const std::string& lessonPath, const std::string& title) {
        const std::string file = library::SentenceAudioPath(lessonPath, false, title, "");
        ParserAnalysis result;
        {
            const std::lock_guard lock(*turn);
            result = AnalyseFile(*cache, *parser, file, library::SentenceText(title));
        }
        grammar::MatchResult match;
        for (const Finding& finding : result.findings) {
            if (FindingsShow({finding}, selection)) {
                match.verdict = true;
                match.matchedWords +=
                    (match.matchedWords.empty() ? " " : "/ ") + grammar::ToLowerAscii(finding.words) + " ";
            }
        }
        return match;
    };
}

} // namespace lectoria::analysis
