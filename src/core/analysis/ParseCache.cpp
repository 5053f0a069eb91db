#include "analysis/ParseCache.h"

#include <filesystem>
#include <vector>

#include <QStandardPaths>
#include <QString>

#include <sqlite3.h>

namespace lectoria::analysis {

namespace {

// Findings as "topic TAB words" lines; neither part holds a line break or a tab.
std::string Serialise(const std::vector<Finding>& findings)
{
    std::string text;
    for (const Finding& finding : findings) {
        text += finding.topic + '\t' + finding.words + '\n';
    }
    return text;
}

std::vector<Finding> Deserialise(std::string_view text)
{
    std::vector<Finding> findings;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        const std::size_t tab = line.find('\t');
        if (tab != std::string_view::npos) {
            findings.push_back({std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
        }
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return findings;
}

/// One prepared statement, finalised however the scope ends.
class Statement
{
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr); }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_statement; }
    explicit operator bool() const { return m_statement != nullptr; }

private:
    sqlite3_stmt* m_statement = nullptr;
};

std::string Column(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text == nullptr ? std::string() : std::string(text);
}

} // namespace

std::unique_ptr<ParseCache> ParseCache::Open(const std::string& path, std::string& error)
{
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        error = "cannot open the parse cache '" + path + "': " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 2000);
    // Findings can always be had again by parsing, so a commit need not wait for the disk; the
    // write-ahead log keeps the file whole if the program stops halfway.
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    char* message = nullptr;
    if (sqlite3_exec(db,
                     "CREATE TABLE IF NOT EXISTS parses (file TEXT PRIMARY KEY, modified INTEGER NOT NULL, "
                     "status INTEGER NOT NULL, message TEXT NOT NULL, findings TEXT NOT NULL)",
                     nullptr, nullptr, &message) != SQLITE_OK) {
        error = "cannot use the parse cache '" + path + "': " + (message != nullptr ? message : "unknown error");
        sqlite3_free(message);
        sqlite3_close(db);
        return nullptr;
    }
    return std::unique_ptr<ParseCache>(new ParseCache(db));
}

ParseCache::~ParseCache()
{
    sqlite3_close(m_db);
}

std::optional<ParserAnalysis> ParseCache::Find(const std::string& file, std::int64_t modified) const
{
    const Statement statement(m_db, "SELECT status, message, findings FROM parses WHERE file = ?1 AND modified = ?2");
    if (!statement) {
        return std::nullopt;
    }
    sqlite3_bind_text(statement.get(), 1, file.c_str(), static_cast<int>(file.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement.get(), 2, modified);
    if (sqlite3_step(statement.get()) != SQLITE_ROW) {
        return std::nullopt;
    }
    ParserAnalysis analysis;
    analysis.status = static_cast<ParseStatus>(sqlite3_column_int(statement.get(), 0));
    analysis.message = Column(statement.get(), 1);
    analysis.findings = Deserialise(Column(statement.get(), 2));
    return analysis;
}

bool ParseCache::Store(const std::string& file, std::int64_t modified, const ParserAnalysis& analysis)
{
    const Statement statement(m_db, "INSERT OR REPLACE INTO parses (file, modified, status, message, findings) "
                                    "VALUES (?1, ?2, ?3, ?4, ?5)");
    if (!statement) {
        return false;
    }
    const std::string findings = Serialise(analysis.findings);
    sqlite3_bind_text(statement.get(), 1, file.c_str(), static_cast<int>(file.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement.get(), 2, modified);
    sqlite3_bind_int(statement.get(), 3, static_cast<int>(analysis.status));
    sqlite3_bind_text(statement.get(), 4, analysis.message.c_str(), static_cast<int>(analysis.message.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_text(statement.get(), 5, findings.c_str(), static_cast<int>(findings.size()), SQLITE_TRANSIENT);
    return sqlite3_step(statement.get()) == SQLITE_DONE;
}

int ParseCache::DropMissing()
{
    std::vector<std::string> missing;
    {
        const Statement statement(m_db, "SELECT file FROM parses");
        while (statement && sqlite3_step(statement.get()) == SQLITE_ROW) {
            std::string file = Column(statement.get(), 0);
            std::error_code error;
            if (!std::filesystem::exists(std::filesystem::path(file), error) && !error) {
                missing.push_back(std::move(file));
            }
        }
    }
    int dropped = 0;
    for (const std::string& file : missing) {
        const Statement statement(m_db, "DELETE FROM parses WHERE file = ?1");
        sqlite3_bind_text(statement.get(), 1, file.c_str(), static_cast<int>(file.size()), SQLITE_TRANSIENT);
        if (statement && sqlite3_step(statement.get()) == SQLITE_DONE) {
            ++dropped;
        }
    }
    return dropped;
}

int ParseCache::Size() const
{
    const Statement statement(m_db, "SELECT COUNT(*) FROM parses");
    return statement && sqlite3_step(statement.get()) == SQLITE_ROW ? sqlite3_column_int(statement.get(), 0) : 0;
}

std::string DefaultParseCachePath()
{
    // Beside the user's library and named the same whichever program (window or command line)
    // asks, so that both share what was parsed.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (std::filesystem::path(folder.toStdString()) / "Lectoria" / "parses.sqlite").string();
}

std::optional<std::int64_t> ModificationTime(const std::string& file)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(std::filesystem::path(file), error);
    if (error) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
}

ParserAnalysis AnalyseFile(ParseCache& cache, IParser& parser, const std::string& file, std::string_view sentence)
{
    const std::optional<std::int64_t> modified = ModificationTime(file);
    if (modified) {
        if (std::optional<ParserAnalysis> kept = cache.Find(file, *modified)) {
            return *kept;
        }
    }
    ParserAnalysis analysis = AnalyseByParser(parser, sentence);
    // A parser that could not run or ran out of time may do better next time.
    if (modified && (analysis.status == ParseStatus::Complete || analysis.status == ParseStatus::NoCompleteLinkage)) {
        cache.Store(file, *modified, analysis);
    }
    return analysis;
}

} // namespace lectoria::analysis
