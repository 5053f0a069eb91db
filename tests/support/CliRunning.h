#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace lectoria::test {

/// What one command of the command-line tool did.
struct CliRun
{
    int status;
    std::string out;
    std::string err;
};

/// Runs a command of the command-line tool in this process, with `input` as its standard input.
inline CliRun Cli(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunCli(args, in, out, err);
    return CliRun{status, out.str(), err.str()};
}

} // namespace lectoria::test
