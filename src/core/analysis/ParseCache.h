#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/Analysis.h"

struct sqlite3;

namespace lectoria::analysis {

/// The parser's findings per sentence file, kept in an SQLite file under the user's data folder and
/// valid while the file keeps its modification time, so that a search over a parsed library parses
/// nothing again.
class ParseCache
{
public:
    /// Opens or creates the cache file (and its folder); null with `error` set when that fails.
    static std::unique_ptr<ParseCache> Open(const std::string& path, std::string& error);
    ~ParseCache();
    ParseCache(const ParseCache&) = delete;
    ParseCache& operator=(const ParseCache&) = delete;

    std::optional<ParserAnalysis> Find(const std::string& file, std::int64_t modified) const;
    /// False when the cache file could not be written; the analysis is then only not kept.
    bool Store(const std::string& file, std::int64_t modified, const ParserAnalysis& analysis);
    /// Removes the entries of files that no longer exist; returns how many went.
    int DropMissing();
    int Size() const;

private:
    explicit ParseCache(sqlite3* db) : m_db(db) {}
    sqlite3* m_db;
};

/// Where the program keeps its parse cache: the application data folder.
std::string DefaultParseCachePath();

/// The modification time of a file in nanoseconds, or nullopt when it cannot be read.
std::optional<std::int64_t> ModificationTime(const std::string& file);

/// The parser's findings for the sentence of a file: from the cache while the file is unchanged,
/// else parsed and stored. A sentence the parser cannot join is kept too, so it is not tried on
/// every search.
ParserAnalysis AnalyseFile(ParseCache& cache, IParser& parser, const std::string& file, std::string_view sentence);

} // namespace lectoria::analysis
