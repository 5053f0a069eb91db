#pragma once

#include <csignal>

#include <sys/resource.h>

namespace lectoria::test {

/// While it lives, every write past `bytes` in a file fails with EFBIG, the way a full disk
/// fails a write, instead of stopping the process with SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        if (getrlimit(RLIMIT_FSIZE, &m_saved) != 0) {
            return;
        }
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() { Lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    /// False when the limit could not be set: the test cannot show a full disk.
    bool active() const { return m_active; }

    void Lift()
    {
        if (m_active) {
            setrlimit(RLIMIT_FSIZE, &m_saved);
            m_active = false;
        }
        if (m_handler != SIG_ERR) {
            std::signal(SIGXFSZ, m_handler);
            m_handler = SIG_ERR;
        }
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_ERR;
    bool m_active = false;
};

} // namespace lectoria::test
