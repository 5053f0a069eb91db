#include "CliChecks.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"
#include "library/SentenceAudio.h"

namespace fs = std::filesystem;

namespace lectoria::cli {

namespace {

// The characters of UTF-8 text as code points; a byte that starts no valid sequence counts as one
// character of its own.
std::u32string Characters(std::string_view text)
{
    std::u32string characters;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 1;
        if (i + length > text.size()) {
            characters.push_back(lead);
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        characters.push_back(code);
        i += length;
    }
    return characters;
}

std::size_t EditDistance(const std::u32string& a, const std::u32string& b)
{
    std::vector<std::size_t> previous(b.size() + 1);
    std::iota(previous.begin(), previous.end(), std::size_t{0});
    std::vector<std::size_t> current(b.size() + 1);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + ("'" + name + "'");
    }
    return text;
}

std::string UnknownName(const std::string& what, std::string_view wanted, const std::vector<std::string>& names,
                        const std::string& where)
{
    std::string message = "no " + what + " '" + std::string(wanted) + "'" + where;
    const std::vector<std::string> nearest = NearestNames(wanted, names);
    return nearest.empty() ? message : message + " (nearest: " + Joined(nearest) + ")";
}

bool IsLessonFolderName(const std::string& name)
{
    if (name.size() < 6) {
        return false;
    }
    std::string prefix = name.substr(0, 6);
    std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return prefix == "lesson";
}

// Folder names directly inside `folder`, in listing order.
std::vector<std::string> SubfolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(folder), error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error)) {
            names.push_back(it->path().filename().string());
        }
    }
    return names;
}

} // namespace

std::vector<std::string> NearestNames(std::string_view wanted, const std::vector<std::string>& names, std::size_t count)
{
    const std::u32string target = Characters(wanted);
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (const std::string& name : names) {
        const bool seen =
            std::any_of(ranked.begin(), ranked.end(), [&name](const auto& r) { return r.second == name; });
        if (!seen) {
            ranked.emplace_back(EditDistance(target, Characters(name)), name);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> nearest;
    for (std::size_t i = 0; i < ranked.size() && i < count; ++i) {
        nearest.push_back(ranked[i].second);
    }
    return nearest;
}

std::string CheckTopicSelection(const grammar::RuleTable& table, std::string_view selection)
{
    const std::vector<std::string> parts = grammar::SplitList(selection, '+');
    if (parts.size() > 3) {
        return "topic '" + std::string(selection) + "' has more than three parts (parent+child+grandchild)";
    }
    const std::string hint = "; 'lectoria-cli rules' lists every topic";
    const std::vector<std::string> parents = grammar::SplitList(table.ParentTopicList, '/');
    const auto p = std::find(parents.begin(), parents.end(), parts[0]);
    if (p == parents.end()) {
        return UnknownName("topic", parts[0], parents, "") + hint;
    }
    if (parts.size() < 2) {
        return std::string();
    }
    const std::size_t parent = static_cast<std::size_t>(p - parents.begin());
    const std::vector<std::string> children = grammar::SplitList(table.ChildTopicLists[parent], '/');
    const auto c = std::find(children.begin(), children.end(), parts[1]);
    if (c == children.end()) {
        return UnknownName("topic", parts[1], children, " under '" + parts[0] + "'") + hint;
    }
    if (parts.size() < 3) {
        return std::string();
    }
    const grammar::GrandchildCombo grandchildren = grammar::FillGrandchildCombo(
        table, static_cast<int>(parent), static_cast<int>(c - children.begin()), std::string_view());
    if (std::find(grandchildren.names.begin(), grandchildren.names.end(), parts[2]) == grandchildren.names.end()) {
        return UnknownName("topic", parts[2], grandchildren.names, " under '" + parts[0] + "+" + parts[1] + "'") + hint;
    }
    return std::string();
}

std::string FolderProblem(const std::string& folder)
{
    std::error_code error;
    fs::directory_iterator it(fs::path(folder), error);
    return error ? error.message() : std::string();
}

std::string CheckBooks(const std::string& root, std::string_view books)
{
    if (const std::string problem = FolderProblem(root); !problem.empty()) {
        return "cannot read library root '" + root + "': " + problem;
    }
    for (const std::string& book : grammar::SplitList(books, '/')) {
        const fs::path bookPath = fs::path(root) / book;
        std::error_code error;
        if (book.empty() || !fs::is_directory(bookPath, error)) {
            return UnknownName("book", book, SubfolderNames(root), " in the library at '" + root + "'");
        }
        if (const std::string problem = FolderProblem(bookPath.string()); !problem.empty()) {
            return "cannot read book folder '" + bookPath.string() + "': " + problem;
        }
        for (fs::directory_iterator it(bookPath, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (!IsLessonFolderName(name) || !it->is_directory(error)) {
                continue;
            }
            if (const std::string problem = FolderProblem(it->path().string()); !problem.empty()) {
                return "cannot read lesson folder '" + it->path().string() + "': " + problem;
            }
        }
        if (error) {
            return "cannot read book folder '" + bookPath.string() + "': " + error.message();
        }
    }
    return std::string();
}

std::string OneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else if (c == '\t') {
            line += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            line += escaped;
        } else {
            line += c;
        }
    }
    return line;
}

std::string ScrambleSafely(const std::string& in, const std::string& out)
{
    std::error_code error;
    if (fs::equivalent(fs::path(in), fs::path(out), error)) {
        return "IN and OUT are the same file ('" + out + "'); write to another file";
    }
    // Writing through a link writes the file it points to, as a plain write would.
    fs::path target(out);
    if (fs::is_symlink(target, error)) {
        target = fs::weakly_canonical(target, error);
        if (error) {
            return "cannot write '" + out + "': " + error.message();
        }
    }
    std::string temporary = target.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return "cannot write '" + out + "': " + std::strerror(errno);
    }
    // mkstemp makes the file private; the result gets the mode an ordinary new file (or the old
    // OUT) would have.
    struct stat old;
    mode_t mode = 0;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(descriptor, mode);
    ::close(descriptor);

    const library::AudioResult result = library::ScrambleFile(in, temporary);
    if (!result.ok()) {
        fs::remove(fs::path(temporary), error);
        if (result.error == library::AudioError::SourceUnreadable) {
            return "cannot read " + result.detail;
        }
        const std::size_t reason = result.detail.rfind(": ");
        return "cannot write '" + out + "'" + (reason == std::string::npos ? "" : result.detail.substr(reason));
    }
    fs::rename(fs::path(temporary), target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(fs::path(temporary), ignored);
        return "cannot write '" + out + "': " + error.message();
    }
    return std::string();
}

} // namespace lectoria::cli
