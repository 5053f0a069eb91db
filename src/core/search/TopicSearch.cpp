#include "search/TopicSearch.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <utility>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include "library/Library.h"
#include "search/LessonWalk.h"

namespace lectoria::search {

namespace {

bool IsLowerLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

std::vector<std::string> PreparedPieces(std::string_view text)
{
    std::vector<std::string> pieces = grammar::SplitList(grammar::ToLowerAscii(text), '/');
    for (std::string& piece : pieces) {
        if (piece.empty()) {
            continue;
        }
        // Both ends are judged on the piece as split, before either blank is added.
        const bool padFront = IsLowerLetter(piece.front());
        const bool padBack = IsLowerLetter(piece.back());
        if (padFront) {
            piece.insert(piece.begin(), ' ');
        }
        if (padBack) {
            piece.push_back(' ');
        }
    }
    return pieces;
}

void AppendPatterns(std::string& out, std::string_view word, bool wholeWord)
{
    static constexpr std::string_view kEndings[] = {" ", ".", ",", "'", "!", "?"};
    const std::string prefix = wholeWord ? " " : "";
    for (std::string_view ending : kEndings) {
        out += prefix;
        out += word;
        out += ending;
        out += '/';
    }
    if (wholeWord) {
        // The pane shows the sentence as written, where a word at its very start has no blank before it.
        out += word;
        out += "'/";
        out += word;
        out += " /";
    }
}

} // namespace

TopicWords PrepareTopicWords(std::string_view allText, std::string_view anyText)
{
    return TopicWords{PreparedPieces(allText), PreparedPieces(anyText)};
}

TopicWordMatch MatchTopicWords(const TopicWords& words, std::string_view sentence)
{
    return MatchNormalizedTopicWords(words, grammar::NormalizeSentence(sentence));
}

bool PassesEverySentence(const TopicWords& words)
{
    auto blank = [](const std::vector<std::string>& pieces) {
        return std::all_of(pieces.begin(), pieces.end(), [](const std::string& piece) { return piece.empty(); });
    };
    return blank(words.allWords) && blank(words.anyWords);
}

TopicWordMatch MatchNormalizedTopicWords(const TopicWords& words, std::string_view text)
{
    TopicWordMatch match;
    bool allOf = true;
    for (const std::string& piece : words.allWords) {
        if (!piece.empty() && text.find(piece) == std::string_view::npos) {
            allOf = false;
            break;
        }
    }
    bool anyOf = true;
    for (const std::string& piece : words.anyWords) {
        if (piece.empty()) {
            anyOf = true;
        } else if (text.find(piece) != std::string_view::npos) {
            anyOf = true;
            match.anyHit = piece;
            break;
        } else {
            anyOf = false;
        }
    }
    match.pass = allOf && anyOf;
    return match;
}

std::string ExpandHighlights(std::string_view info)
{
    if (info.empty()) {
        return std::string();
    }
    if (info.back() == '/') {
        info.remove_suffix(1);
    }
    if (!info.empty() && info.front() == '/') {
        info.remove_prefix(1);
    }
    std::string patterns;
    for (const std::string& piece : grammar::SplitList(info, '/')) {
        std::string_view word = piece;
        if (!word.empty() && word.back() == ' ') {
            word.remove_suffix(1);
        }
        const bool wholeWord = !word.empty() && word.front() == ' ';
        if (wholeWord) {
            word.remove_prefix(1);
        }
        if (!word.empty()) {
            AppendPatterns(patterns, word, wholeWord);
        }
    }
    if (!patterns.empty()) {
        patterns.pop_back();
    }
    return patterns;
}

void ExpandHighlights(std::vector<std::string>& infos)
{
    for (std::string& info : infos) {
        info = ExpandHighlights(info);
    }
}

std::string AllOfText(std::string_view strSubjectWord)
{
    const std::size_t plus = strSubjectWord.find('+');
    return plus == std::string_view::npos ? std::string() : std::string(strSubjectWord.substr(0, plus));
}

std::string AnyOfText(std::string_view strSubjectWord)
{
    const std::size_t plus = strSubjectWord.rfind('+');
    return plus == std::string_view::npos ? std::string() : std::string(strSubjectWord.substr(plus + 1));
}

TopicSelection ComposeTopicSelection(const std::vector<std::string>& books, std::string_view allText,
                                     std::string_view anyText, std::string_view parent, std::string_view child,
                                     std::string_view grandchild)
{
    TopicSelection selection;
    selection.strSubjectBook = grammar::JoinList(books, '/');
    selection.strSubjectWord = grammar::ToLowerAscii(std::string(allText).append("+").append(anyText));
    selection.strSubjectGrammar = std::string(parent).append("+").append(child);
    if (!grandchild.empty()) {
        selection.strSubjectGrammar.append("+").append(grandchild);
    }
    return selection;
}

std::string ProblemSummary(const std::vector<std::string>& problems)
{
    if (problems.empty()) {
        return {};
    }
    if (problems.size() == 1) {
        return problems.front();
    }
    return problems.front() + " (另有 " + std::to_string(problems.size() - 1) + " 处无法读取)";
}

std::vector<std::string> LessonFoldersToSearch(const std::string& libraryRoot, const std::string& strSubjectBook,
                                               std::vector<std::string>* problems)
{
    std::vector<std::string> folders;
    for (const std::string& book : grammar::SplitList(strSubjectBook, '/')) {
        // An empty name would walk the library root itself as if it were a book.
        if (book.empty()) {
            continue;
        }
        const std::filesystem::path bookPath = std::filesystem::path(libraryRoot) / book;
        const library::FolderListing lessons = library::ListBook(bookPath.string());
        if (!lessons.ok() && problems != nullptr) {
            problems->push_back(lessons.error);
        }
        for (const std::string& lesson : lessons.names) {
            folders.push_back((bookPath / lesson).string());
        }
    }
    return folders;
}

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

} // namespace

/// Gathers the results of one search: each worker writes "title\0info\0" entries into blocks of
/// its own, and the lessons, each contiguous in one worker's blocks, are put in order at the end.
class ResultCollector
{
public:
    ResultCollector(std::vector<std::string> lessonPrefixes, std::string allText, int workers)
        : m_lessonPrefixes(std::move(lessonPrefixes)), m_allText(std::move(allText)),
          m_lessons(m_lessonPrefixes.size()), m_workers(static_cast<std::size_t>(workers))
    {}

    const std::string& LessonPrefix(int lesson) const { return m_lessonPrefixes[static_cast<std::size_t>(lesson)]; }

    void BeginLesson(int worker, int lesson)
    {
        LessonSpan& span = m_lessons[static_cast<std::size_t>(lesson)];
        span.worker = worker;
        span.count = 0;
        m_workers[static_cast<std::size_t>(worker)].lesson = &span;
    }

    void Fail(int worker, const std::string& error)
    {
        m_workers[static_cast<std::size_t>(worker)].lesson->error = error;
    }

    void Add(int worker, std::string_view title, std::string_view matchedWords, std::string_view anyHit)
    {
        Worker& own = m_workers[static_cast<std::size_t>(worker)];
        const std::size_t bytes = title.size() + matchedWords.size() + (anyHit.empty() ? 0 : anyHit.size() + 1) + 2;
        if (own.blocks.empty() || own.blocks.back().capacity() - own.blocks.back().size() < bytes) {
            own.blocks.emplace_back();
            own.blocks.back().reserve(std::max(kBlockBytes, bytes));
        }
        std::string& block = own.blocks.back();
        LessonSpan& span = *own.lesson;
        if (span.count++ == 0) {
            span.start = {static_cast<std::uint32_t>(own.blocks.size() - 1), static_cast<std::uint32_t>(block.size())};
        }
        // A file name never holds a NUL byte, so one ends the title.
        block.append(title);
        block.push_back('\0');
        block.append(matchedWords);
        if (!anyHit.empty()) {
            block.push_back('/');
            block.append(anyHit);
        }
        block.push_back('\0');
    }

    void MoveInto(SearchResults& results)
    {
        results.m_lessonPrefixes = std::move(m_lessonPrefixes);
        results.m_allText = std::move(m_allText);
        std::vector<std::uint32_t> firstBlock;
        for (Worker& worker : m_workers) {
            firstBlock.push_back(static_cast<std::uint32_t>(results.m_blocks.size()));
            for (std::string& block : worker.blocks) {
                results.m_blocks.push_back(std::move(block));
            }
        }
        std::uint32_t hits = 0;
        results.m_lessonFirstHit.reserve(m_lessons.size());
        results.m_lessonStart.reserve(m_lessons.size());
        for (const LessonSpan& lesson : m_lessons) {
            SearchResults::Position start = lesson.start;
            start.block += firstBlock[static_cast<std::size_t>(lesson.worker)];
            results.m_lessonFirstHit.push_back(hits);
            results.m_lessonStart.push_back(start);
            for (std::uint32_t k = 0; k < lesson.count; ++k, ++hits) {
                if (hits % SearchResults::kCheckpointStride == 0) {
                    results.m_checkpoints.push_back(start);
                }
                start = results.Next(start);
            }
        }
        results.m_size = hits;
        for (const LessonSpan& lesson : m_lessons) {
            if (!lesson.error.empty()) {
                results.problems.push_back(lesson.error);
            }
        }
    }

private:
    struct LessonSpan
    {
        int worker = 0;
        std::uint32_t count = 0;
        SearchResults::Position start; ///< in the worker's own blocks
        std::string error;             ///< why the lesson folder could not be read
    };
    struct Worker
    {
        std::vector<std::string> blocks;
        LessonSpan* lesson = nullptr;
    };

    std::vector<std::string> m_lessonPrefixes;
    std::string m_allText;
    std::vector<LessonSpan> m_lessons;
    std::vector<Worker> m_workers;
};

namespace {

/// What one worker reuses from sentence to sentence.
struct Scratch
{
    library::LessonTitles titles;
    std::string sentence;
    std::string normalized;
};

void SearchLesson(const LessonSearch& search, bool wordsPassAll, bool rulePassesAll, const std::string& lessonPath,
                  const std::string& itemPrefix, Scratch& scratch, ResultCollector& collector, int worker)
{
    library::ListLessonTitles(lessonPath, scratch.titles);
    if (!scratch.titles.error().empty()) {
        collector.Fail(worker, scratch.titles.error());
    }
    for (std::size_t i = 0; i < scratch.titles.size(); ++i) {
        const std::string_view title = scratch.titles[i];
        const std::size_t blank = title.find(' ');
        scratch.sentence.assign(blank == std::string_view::npos ? title : title.substr(blank + 1));
        for (char& c : scratch.sentence) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        const bool compiled = search.rule.compiled != nullptr && !rulePassesAll;
        if (!wordsPassAll || compiled) {
            // One normalisation serves the topic-word filter and the compiled matcher.
            grammar::NormalizeSentenceInto(scratch.sentence, scratch.normalized);
        }
        TopicWordMatch words;
        words.pass = true;
        if (!wordsPassAll) {
            words = MatchNormalizedTopicWords(search.words, scratch.normalized);
            if (!words.pass) {
                continue;
            }
        }
        grammar::MatchResult rule;
        rule.verdict = true;
        if (search.topicMatcher) {
            rule = search.topicMatcher(lessonPath, std::string(title));
        } else if (compiled) {
            rule = grammar::MatchCompiledRule(search.rule, scratch.normalized);
        } else if (!rulePassesAll) {
            rule = grammar::MatchRulePlain(search.rule, scratch.sentence);
        }
        if (!rule.verdict) {
            continue;
        }
        if (search.mark.markable &&
            !HasMark(search.markList, library::SentenceId(itemPrefix + std::string(title)), search.mark.tag)) {
            continue;
        }
        collector.Add(worker, title, rule.matchedWords, words.anyHit);
    }
}

} // namespace

SearchResults::Position SearchResults::Next(Position at) const
{
    const std::string& block = m_blocks[at.block];
    const char* title = block.c_str() + at.offset;
    const std::size_t titleLength = std::char_traits<char>::length(title);
    at.offset += static_cast<std::uint32_t>(titleLength + 1);
    at.offset += static_cast<std::uint32_t>(std::char_traits<char>::length(block.c_str() + at.offset) + 1);
    if (at.offset >= block.size()) {
        ++at.block;
        at.offset = 0;
    }
    return at;
}

SearchResults::Position SearchResults::PositionOf(std::size_t i, std::size_t lesson) const
{
    const std::size_t checkpoint = i / kCheckpointStride;
    std::size_t from = checkpoint * kCheckpointStride;
    Position at = m_checkpoints[checkpoint];
    // A checkpoint in an earlier lesson may lie in another worker's blocks: start at the lesson.
    if (from < m_lessonFirstHit[lesson]) {
        from = m_lessonFirstHit[lesson];
        at = m_lessonStart[lesson];
    }
    for (; from < i; ++from) {
        at = Next(at);
    }
    return at;
}

std::string_view SearchResults::TitleOf(std::size_t i) const
{
    const Position at = PositionOf(i, LessonOf(i));
    return std::string_view(m_blocks[at.block].c_str() + at.offset);
}

std::size_t SearchResults::LessonOf(std::size_t i) const
{
    const auto after =
        std::upper_bound(m_lessonFirstHit.begin(), m_lessonFirstHit.end(), static_cast<std::uint32_t>(i));
    return static_cast<std::size_t>(after - m_lessonFirstHit.begin()) - 1;
}

std::string SearchResults::Item(std::size_t i) const
{
    std::string item = m_lessonPrefixes[LessonOf(i)];
    item += TitleOf(i);
    return item;
}

std::string SearchResults::Highlight(std::size_t i) const
{
    const std::string_view title = TitleOf(i);
    std::string info(title.data() + title.size() + 1);
    if (!m_allText.empty()) {
        info += '/';
        info += m_allText;
    }
    return ExpandHighlights(info);
}

std::vector<std::string> SearchResults::Items() const
{
    std::vector<std::string> items;
    items.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        items.push_back(Item(i));
    }
    return items;
}

std::vector<std::string> SearchResults::Highlights() const
{
    std::vector<std::string> highlights;
    highlights.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        highlights.push_back(Highlight(i));
    }
    return highlights;
}

SearchResults RunTopicSearch(const grammar::RuleTable& table, const SearchRequest& request,
                             const SearchProgress& progress, const std::atomic<bool>* cancel)
{
    const std::string root = library::LibraryRootOf(request.strFullPath);
    std::vector<std::string> bookProblems;
    const std::vector<std::string> lessons = LessonFoldersToSearch(root, request.strSubjectBook, &bookProblems);
    const int total = static_cast<int>(lessons.size());

    LessonSearch search;
    search.words = PrepareTopicWords(request.allText, request.anyText);
    search.mark = MarkTagOfTopic(request.strSubjectGrammar);
    if (search.mark.markable) {
        search.markList = LoadMarkList(root);
    }
    search.rule = grammar::SelectRule(table, request.strSubjectGrammar);
    grammar::UseMatchEngine(search.rule, request.engine);
    const bool wordsPassAll = PassesEverySentence(search.words);
    const bool rulePassesAll = grammar::PassesEverySentence(search.rule);
    search.topicMatcher = request.topicMatcher;

    std::vector<std::string> prefixes;
    prefixes.reserve(lessons.size());
    for (const std::string& lesson : lessons) {
        prefixes.push_back(library::BookNameOf(lesson) + library::kItemPathSeparator + library::LessonNameOf(lesson) +
                           library::kItemPathSeparator);
    }
    const int threads = std::min(WalkThreads(request.threads), std::max(1, total));
    ResultCollector collector(std::move(prefixes), request.allText, threads);
    std::vector<Scratch> scratch(static_cast<std::size_t>(threads));
    const bool complete = WalkLessons(
        total, threads,
        [&](int worker, int lesson) {
            const auto index = static_cast<std::size_t>(lesson);
            collector.BeginLesson(worker, lesson);
            SearchLesson(search, wordsPassAll, rulePassesAll, lessons[index], collector.LessonPrefix(lesson),
                         scratch[static_cast<std::size_t>(worker)], collector, worker);
        },
        progress, cancel);
    if (!complete) {
        SearchResults stopped;
        stopped.cancelled = true;
        return stopped;
    }
    SearchResults results;
    results.problems = std::move(bookProblems);
    collector.MoveInto(results);
    return results;
}

} // namespace lectoria::search
