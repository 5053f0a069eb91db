#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lectoria::library {

// Path text is UTF-8 on Windows, where the file system names files in UTF-16, and the bytes of
// the names elsewhere; these turn it into a path and back without a code page between.

inline std::filesystem::path PathOf(std::string_view text)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(text);
#endif
}

inline std::string TextOf(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

/// Directory results end with a separator, so that callers may append a name; empty stays empty.
inline std::string DirectoryText(const std::filesystem::path& directory)
{
    return directory.empty() ? std::string() : TextOf(directory / "");
}

} // namespace lectoria::library
