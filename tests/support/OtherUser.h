#pragma once

#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace lectoria::test {

/// Permission faults only show for a user the file modes apply to: root reads and writes
/// anything. Runs `check` in a child process as "nobody" when the test runs as root, else in a
/// child as the current user; returns the child's exit code (0 = the check passed), or -1 when the
/// child could not be started or could not change its user.
inline int RunAsUnprivilegedUser(const std::function<int()>& check)
{
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(100);
        }
        ::_exit(check());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status) == 100 ? -1 : WEXITSTATUS(status);
}

} // namespace lectoria::test
