#include "search/TopicCensus.h"

#include <algorithm>
#include <filesystem>

#include "library/Library.h"
#include "search/GrammarMarks.h"
#include "search/LessonWalk.h"

namespace lectoria::search {

namespace {

/// The marks that may confirm a lesson's sentences. A mark names a sentence by holding its id, and
/// every id of a lesson begins alike, so a mark without that beginning confirms none of them:
/// most lessons then need no id at all, and the others search a few marks instead of the list.
class LessonMarks
{
public:
    void Prepare(const std::vector<std::string>& markList, const std::string& book, const std::string& lesson)
    {
        m_prefix = book + library::kItemPathSeparator + lesson + library::kItemPathSeparator;
        // A separator inside a name moves the split of the item path: then each id is made whole.
        m_whole = book.find(library::kItemPathSeparator) != std::string::npos ||
                  lesson.find(library::kItemPathSeparator) != std::string::npos;
        m_marks.clear();
        if (m_whole) {
            m_marks = markList;
            return;
        }
        m_idPrefix = library::SentenceId(m_prefix);
        for (const std::string& entry : markList) {
            if (entry.find(m_idPrefix) != std::string::npos) {
                m_marks.push_back(entry);
            }
        }
    }

    bool None() const { return m_marks.empty(); }

    /// The id of the lesson's sentence `title`, as SentenceId gives it for its item path.
    void IdOf(std::string_view title, std::string& id) const
    {
        if (m_whole) {
            id = library::SentenceId(m_prefix + std::string(title));
            return;
        }
        library::SentenceIdInLesson(m_idPrefix, title, id);
    }

    bool Has(std::string_view id, std::string_view tag) const { return HasMark(m_marks, id, tag); }

private:
    std::string m_prefix;
    std::string m_idPrefix; ///< the id of an empty title: what every id of the lesson begins with
    bool m_whole = false;
    std::vector<std::string> m_marks;
};

/// One worker's counts and buffers.
struct CensusWorker
{
    explicit CensusWorker(const grammar::TopicTableMatcher& matcher)
        : scan(matcher), ruleChanges(matcher.RuleCount()), markedCounts(matcher.Topics().size())
    {}

    grammar::TopicScan scan;
    library::LessonTitles titles;
    LessonMarks marks;
    std::string sentence;
    std::string id;
    std::uint64_t sentences = 0;
    /// Per rule, how many more (or fewer) sentences it passed than its default verdict says.
    std::vector<std::int64_t> ruleChanges;
    std::vector<std::uint64_t> markedCounts; ///< per topic, for markable topics only
};

// FNV-1a: the fingerprint only has to change when its input does, not resist anyone.
void Mix(std::uint64_t& hash, std::string_view bytes)
{
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    hash = (hash ^ 0xffU) * 0x100000001b3ULL;
}

void MixModificationTime(std::uint64_t& hash, const std::string& path)
{
    Mix(hash, path);
    std::error_code error;
    const auto time = std::filesystem::last_write_time(std::filesystem::path(path), error);
    const long long ticks = error ? -1 : static_cast<long long>(time.time_since_epoch().count());
    Mix(hash, std::string_view(reinterpret_cast<const char*>(&ticks), sizeof ticks));
}

} // namespace

std::uint64_t CensusFingerprint(const std::string& libraryRoot, const std::string& strSubjectBook)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    MixModificationTime(hash, (std::filesystem::path(libraryRoot) / kLibraryMarkFile).string());
    for (const std::string& book : grammar::SplitList(strSubjectBook, '/')) {
        MixModificationTime(hash, (std::filesystem::path(libraryRoot) / book).string());
    }
    for (const std::string& lesson : LessonFoldersToSearch(libraryRoot, strSubjectBook)) {
        MixModificationTime(hash, lesson);
    }
    return hash;
}

std::vector<std::uint64_t> RunTopicCensus(const grammar::TopicTableMatcher& matcher, const std::string& libraryRoot,
                                          const std::string& strSubjectBook, int threads,
                                          const SearchProgress& progress, const std::atomic<bool>* cancel)
{
    std::string root = libraryRoot;
    if (!root.empty() && root.back() != '/') {
        root += '/';
    }
    const std::vector<std::string> lessons = LessonFoldersToSearch(root, strSubjectBook);
    const int total = static_cast<int>(lessons.size());
    const std::vector<std::string>& topics = matcher.Topics();

    // A markable topic counts only sentences its rule passes, and most rules pass few: those that
    // pass by default are looked at for every sentence, the others only when a sentence decides them.
    std::vector<MarkTag> marks;
    std::vector<std::size_t> markedByDefault;
    std::vector<std::vector<std::size_t>> markableOfRule(matcher.RuleCount());
    std::vector<std::uint8_t> ruleIsMarked(matcher.RuleCount(), 0); // a flat flag the hot loop can afford
    for (std::size_t t = 0; t < topics.size(); ++t) {
        marks.push_back(MarkTagOfTopic(topics[t]));
        if (!marks.back().markable) {
            continue;
        }
        const std::uint32_t rule = matcher.RuleOfTopic(t);
        if (matcher.DefaultVerdict(rule)) {
            markedByDefault.push_back(t);
        } else {
            markableOfRule[rule].push_back(t);
            ruleIsMarked[rule] = 1;
        }
    }
    const bool anyMarkable =
        !markedByDefault.empty() || std::find(ruleIsMarked.begin(), ruleIsMarked.end(), 1) != ruleIsMarked.end();
    const std::vector<std::string> markList = anyMarkable ? LoadMarkList(root) : std::vector<std::string>();

    const int workers = std::min(WalkThreads(threads), std::max(1, total));
    std::vector<CensusWorker> state;
    state.reserve(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers; ++w) {
        state.emplace_back(matcher);
    }
    const bool complete = WalkLessons(
        total, workers,
        [&](int worker, int lesson) {
            CensusWorker& own = state[static_cast<std::size_t>(worker)];
            const std::string& path = lessons[static_cast<std::size_t>(lesson)];
            own.marks.Prepare(markList, library::BookNameOf(path), library::LessonNameOf(path));
            // Where no mark can confirm a sentence of the lesson, a markable topic counts none.
            const bool marksToCount = !own.marks.None();
            library::ListLessonTitles(path, own.titles);
            for (std::size_t i = 0; i < own.titles.size(); ++i) {
                const std::string_view title = own.titles[i];
                const std::size_t blank = title.find(' ');
                own.sentence.assign(blank == std::string_view::npos ? title : title.substr(blank + 1));
                for (char& c : own.sentence) {
                    if (c >= 'A' && c <= 'Z') {
                        c = static_cast<char>(c - 'A' + 'a');
                    }
                }
                own.scan.Run(own.sentence);
                ++own.sentences;
                bool idKnown = false;
                const auto countMark = [&](std::size_t t) {
                    if (!idKnown) {
                        own.marks.IdOf(title, own.id);
                        idKnown = true;
                    }
                    own.markedCounts[t] += own.marks.Has(own.id, marks[t].tag) ? 1 : 0;
                };
                for (const std::uint32_t r : own.scan.DecidedRules()) {
                    const bool verdict = own.scan.RuleVerdict(r);
                    if (verdict == matcher.DefaultVerdict(r)) {
                        continue;
                    }
                    own.ruleChanges[r] += verdict ? 1 : -1;
                    if (verdict && marksToCount && ruleIsMarked[r] != 0) {
                        for (const std::size_t t : markableOfRule[r]) {
                            countMark(t);
                        }
                    }
                }
                for (const std::size_t t : markedByDefault) {
                    if (marksToCount && own.scan.Verdict(t)) {
                        countMark(t);
                    }
                }
            }
        },
        progress, cancel);
    if (!complete) {
        return {};
    }
    std::vector<std::uint64_t> counts(topics.size());
    for (const CensusWorker& own : state) {
        for (std::size_t t = 0; t < topics.size(); ++t) {
            const std::uint32_t rule = matcher.RuleOfTopic(t);
            const std::int64_t passed =
                (matcher.DefaultVerdict(rule) ? static_cast<std::int64_t>(own.sentences) : 0) + own.ruleChanges[rule];
            counts[t] += marks[t].markable ? own.markedCounts[t] : static_cast<std::uint64_t>(passed);
        }
    }
    return counts;
}

} // namespace lectoria::search
