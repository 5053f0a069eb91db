#include "analysis/ParserSearch.h"

#include "analysis/Analysis.h"
#include "library/Library.h"
#include "search/TopicSearch.h"

namespace lectoria::analysis {

std::shared_ptr<ParserDesk>
SharedParserDesk(const std::function<std::unique_ptr<IParser>(std::string& error)>& makeParser, std::string& error)
{
    static std::mutex mutex;
    static std::shared_ptr<ParserDesk> desk;
    const std::lock_guard lock(mutex);
    if (desk) {
        return desk;
    }
    std::unique_ptr<IParser> parser = makeParser(error);
    if (!parser) {
        return nullptr;
    }
    std::unique_ptr<ParseCache> cache = ParseCache::Open(DefaultParseCachePath(), error);
    if (!cache) {
        return nullptr;
    }
    cache->DropMissing();
    desk = std::make_shared<ParserDesk>(std::move(parser), std::move(cache));
    return desk;
}

ParserDesk::ParserDesk(std::unique_ptr<IParser> parser, std::unique_ptr<ParseCache> cache)
    : m_parser(std::move(parser)), m_cache(std::move(cache))
{}

ParserAnalysis ParserDesk::AnalyseFile(const std::string& file, std::string_view sentence)
{
    const std::lock_guard lock(m_turn);
    return analysis::AnalyseFile(*m_cache, *m_parser, file, sentence);
}

bool ParserDesk::IsKept(const std::string& file)
{
    const std::optional<std::int64_t> modified = ModificationTime(file);
    const std::lock_guard lock(m_turn);
    return modified && m_cache->Find(file, *modified).has_value();
}

ParserAnalysis ParserDesk::AnalyseSentence(std::string_view sentence)
{
    const std::lock_guard lock(m_turn);
    return AnalyseByParser(*m_parser, sentence);
}

TopicMatcher ParserTopicMatcher(std::shared_ptr<ParserDesk> desk, const std::string& selection)
{
    if (!ParserCovers(selection) || !desk) {
        return {};
    }
    return [desk, selection](const std::string& lessonPath, const std::string& title) {
        const std::string file = library::SentenceAudioPath(lessonPath, false, title, "");
        const ParserAnalysis result = desk->AnalyseFile(file, library::SentenceText(title));
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

bool FillParseCache(ParserDesk& desk, const std::string& libraryRoot, const std::string& strSubjectBook,
                    const std::function<void(int done, int total)>& progress, const std::atomic<bool>* cancel)
{
    const std::vector<std::string> lessons = search::LessonFoldersToSearch(libraryRoot, strSubjectBook);
    const int total = static_cast<int>(lessons.size());
    if (progress) {
        progress(0, total);
    }
    library::LessonTitles titles;
    for (int done = 0; done < total; ++done) {
        const std::string& lesson = lessons[static_cast<std::size_t>(done)];
        library::ListLessonTitles(lesson, titles);
        for (std::size_t i = 0; i < titles.size(); ++i) {
            // Checked per sentence: one parse may take a while.
            if (cancel != nullptr && cancel->load()) {
                return false;
            }
            const std::string title(titles[i]);
            desk.AnalyseFile(library::SentenceAudioPath(lesson, false, title, ""), library::SentenceText(title));
        }
        if (progress) {
            progress(done + 1, total);
        }
    }
    return true;
}

} // namespace lectoria::analysis
