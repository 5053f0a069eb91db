#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lectoria::cli {

/// Exit status for a bad argument or an unreadable file.
inline constexpr int kUsageError = 2;
/// Exit status when the output cannot be written (a full disk, a closed standard output).
inline constexpr int kOutputError = 1;

/// Runs one lectoria-cli command; `args` excludes the program name. Titles print on one line
/// each (see OneLine).
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace lectoria::cli
