#include "TopicCountsWorker.h"

#include <mutex>

#include "grammar/RuleTable.h"
#include "grammar/TopicTableMatcher.h"
#include "search/TopicCensus.h"

namespace lectoria::ui {

namespace {

struct KeptCounts
{
    std::uint64_t fingerprint = 0;
    std::shared_ptr<const TopicCounts> counts;
};

std::mutex g_keptMutex;
std::map<std::string, KeptCounts> g_kept;

std::shared_ptr<const TopicCounts> CountsFor(const std::string& root, const std::string& books,
                                             const std::atomic<bool>& cancel, const search::SearchProgress& progress)
{
    const std::string key = root + '\n' + books;
    const std::uint64_t fingerprint = search::CensusFingerprint(root, books);
    {
        const std::lock_guard lock(g_keptMutex);
        const auto kept = g_kept.find(key);
        if (kept != g_kept.end() && kept->second.fingerprint == fingerprint) {
            return kept->second.counts;
        }
    }
    const grammar::TopicTableMatcher& matcher = ProgramTopicMatcher();
    const std::vector<std::uint64_t> counts = search::RunTopicCensus(matcher, root, books, 0, progress, &cancel);
    if (cancel.load() || counts.size() != matcher.Topics().size()) {
        return nullptr;
    }
    auto named = std::make_shared<TopicCounts>();
    for (std::size_t t = 0; t < counts.size(); ++t) {
        named->emplace(matcher.Topics()[t], counts[t]);
    }
    const std::lock_guard lock(g_keptMutex);
    g_kept[key] = {fingerprint, named};
    return named;
}

} // namespace

const grammar::TopicTableMatcher& ProgramTopicMatcher()
{
    static const grammar::TopicTableMatcher matcher(grammar::BuiltInRuleTable());
    return matcher;
}

void TopicCountsWorker::Start(const std::string& libraryRoot, const std::string& strSubjectBook)
{
    // Each count gets its own slot, so that a cancelled one can never overwrite a later one's result.
    m_counts = std::make_shared<std::shared_ptr<const TopicCounts>>();
    BackgroundTask::Start(
        [slot = m_counts, libraryRoot, strSubjectBook](const Progress& progress, const std::atomic<bool>& cancel) {
            *slot = CountsFor(libraryRoot, strSubjectBook, cancel, progress);
            return *slot != nullptr;
        });
}

} // namespace lectoria::ui
