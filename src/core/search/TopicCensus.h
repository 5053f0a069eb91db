#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "grammar/TopicTableMatcher.h"
#include "search/TopicSearch.h"

namespace lectoria::search {

/// Counts, for every topic of `matcher` in its order, the sentences of the chosen books
/// ('/'-joined folder names under `libraryRoot`) that a topic search without topic words finds:
/// the topic's rule passes and, for a markable topic, a grammar mark confirms the sentence. One
/// scan of each sentence serves every topic. `threads` 0 takes one per core; progress and cancel
/// work as in RunTopicSearch, and a cancelled census returns no counts.
std::vector<std::uint64_t> RunTopicCensus(const grammar::TopicTableMatcher& matcher, const std::string& libraryRoot,
                                          const std::string& strSubjectBook, int threads = 0,
                                          const SearchProgress& progress = {},
                                          const std::atomic<bool>* cancel = nullptr);

/// A value that changes whenever the census of the chosen books may change: a lesson folder is
/// added, removed or renamed, or a sentence file in one is (which changes the folder's
/// modification time), or the library's own mark file changes. Costs one look at each folder, far
/// less than reading every sentence file.
std::uint64_t CensusFingerprint(const std::string& libraryRoot, const std::string& strSubjectBook);

} // namespace lectoria::search
