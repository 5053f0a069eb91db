#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lectoria::cli {

/// Exit status for a bad argument or an unreadable file.
inline constexpr int kUsageError = 2;

/// Runs one lectoria-cli command; `args` excludes the program name.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace lectoria::cli
