#include <iostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "Cli.h"

int main(int argc, char* argv[])
{
    // A closed standard stream is held by /dev/null opened read-only, so no file the program opens
    // takes its place and receives the output, and writing to it still fails.
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (::fcntl(stream, F_GETFD) == -1) {
            ::open("/dev/null", O_RDONLY);
        }
    }
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return lectoria::cli::RunCli(args, std::cin, std::cout, std::cerr);
}
