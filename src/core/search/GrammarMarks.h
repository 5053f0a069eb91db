#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lectoria::search {

/// Whether a topic must be confirmed by a grammar mark, and the mark's tag.
struct MarkTag
{
    bool markable = false;
    std::string tag;
};

MarkTag MarkTagOfTopic(std::string_view selection);

/// The built-in mark rows, followed by the rows of the library's own "marks.txt" (one mark
/// entry per line, GB18030 or UTF-8) when `libraryRoot` holds one; malformed lines are skipped.
std::vector<std::string> LoadMarkList(const std::string& libraryRoot);

/// True when an entry of the list holds both `id` and `tag`.
bool HasMark(const std::vector<std::string>& list, std::string_view id, std::string_view tag);

/// The name of a library's own mark file, in its root folder.
inline constexpr std::string_view kLibraryMarkFile = "marks.txt";

/// A well-formed mark entry: an id of ASCII letters and digits, then one or more "#tag" with a
/// non-empty tag that holds no '#', blank or control character.
bool IsMarkEntry(std::string_view entry);

/// The sentence id of a mark entry: everything before its first '#'.
std::string_view MarkIdOf(std::string_view entry);

/// The well-formed entries of a mark file, in file order, as UTF-8. The file is read as UTF-8
/// when it is valid UTF-8, else as GB18030; a missing or unreadable file gives none.
std::vector<std::string> ReadMarkFile(const std::string& path);

} // namespace lectoria::search
