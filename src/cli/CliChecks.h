#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lectoria::grammar {
struct RuleTable;
}

namespace lectoria::cli {

/// Up to `count` entries of `names` closest to `wanted` by edit distance over characters (not
/// bytes, so a Chinese name counts each character once), nearest first; ties keep list order.
std::vector<std::string> NearestNames(std::string_view wanted, const std::vector<std::string>& names,
                                      std::size_t count = 3);

/// Empty when `selection` ("parent[+child[+grandchild]]") names a topic of `table`, level by
/// level; otherwise a message that names the first unknown part and the nearest valid names.
std::string CheckTopicSelection(const grammar::RuleTable& table, std::string_view selection);

/// Empty when every book of the '/'-separated `books` is a readable folder of the library at
/// `root` whose lesson folders can all be read; otherwise what is wrong and where, with the
/// nearest book folder names for a book that is not there.
std::string CheckBooks(const std::string& root, std::string_view books);

/// Empty when the folder can be listed; otherwise the system's reason.
std::string FolderProblem(const std::string& folder);

/// `text` on one line: line breaks, tabs and other control bytes written as \n, \r, \t, \xHH.
std::string OneLine(std::string_view text);

/// Scrambles `in` into `out` through a temporary file beside `out` that then replaces it, so that
/// a failure leaves `out` as it was. `out` naming the same file as `in` (also through a link) is
/// refused. Empty on success, otherwise the message.
std::string ScrambleSafely(const std::string& in, const std::string& out);

} // namespace lectoria::cli
