#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "BackgroundTask.h"

namespace lectoria::grammar {
class TopicTableMatcher;
}

namespace lectoria::ui {

/// Every topic's rule of the built-in table compiled into one matcher, built on first use (it
/// takes a moment: call it off the window's thread) and shared by the whole program.
const grammar::TopicTableMatcher& ProgramTopicMatcher();

/// How many sentences of some books each topic selection finds ("时态+现在完成时" → 12), for
/// every selectable topic including the "所有" entries.
using TopicCounts = std::map<std::string, std::uint64_t>;

/// Counts the sentences every topic finds in the chosen books, so that the topic dialog can show
/// them beside the topic names without ever waiting. Counts are kept for the rest of the program's
/// run per library and books, and counted again only when a lesson folder of those books has
/// changed since. Runs as a BackgroundTask: its progress and end are the task's signals.
class TopicCountsWorker : public BackgroundTask
{
    Q_OBJECT

public:
    using BackgroundTask::BackgroundTask;

    /// Starts counting for the '/'-joined books under `libraryRoot`, abandoning a count under way.
    void Start(const std::string& libraryRoot, const std::string& strSubjectBook);
    /// The counts of the last count that ran to its end.
    std::shared_ptr<const TopicCounts> counts() const { return *m_counts; }

private:
    std::shared_ptr<std::shared_ptr<const TopicCounts>> m_counts =
        std::make_shared<std::shared_ptr<const TopicCounts>>();
};

} // namespace lectoria::ui
