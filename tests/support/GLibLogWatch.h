#pragma once

#include <mutex>
#include <string>
#include <vector>

#include <glib.h>

namespace lectoria::test {

/// Collects the warnings and criticals that GLib and GStreamer print while it lives (from any
/// thread), so that a test can insist the terminal stays quiet.
class GLibLogWatch
{
public:
    GLibLogWatch() { m_previous = g_log_set_default_handler(&GLibLogWatch::Keep, this); }
    ~GLibLogWatch() { g_log_set_default_handler(m_previous, nullptr); }
    GLibLogWatch(const GLibLogWatch&) = delete;
    GLibLogWatch& operator=(const GLibLogWatch&) = delete;

    /// Everything kept so far, one line per message, or an empty string.
    std::string Text() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        std::string text;
        for (const std::string& line : m_lines) {
            text += line + "\n";
        }
        return text;
    }

private:
    static void Keep(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer data)
    {
        if ((level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) == 0) {
            return;
        }
        auto* watch = static_cast<GLibLogWatch*>(data);
        const std::lock_guard<std::mutex> lock(watch->m_mutex);
        watch->m_lines.push_back(std::string(domain != nullptr ? domain : "") + ": " +
                                 (message != nullptr ? message : ""));
    }

    GLogFunc m_previous = nullptr;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

} // namespace lectoria::test
