#include "library/FileNames.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace fs = std::filesystem;

namespace lectoria::library {

namespace {

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

bool Missing(const fs::path& path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type() == fs::file_type::not_found;
}

} // namespace

std::string DisplayName(std::string_view rawName)
{
    if (IsUtf8(rawName)) {
        return std::string(rawName);
    }
    QStringDecoder decoder("GB18030");
    if (!decoder.isValid()) {
        return QString::fromUtf8(rawName.data(), static_cast<qsizetype>(rawName.size())).toStdString();
    }
    const QString text = decoder.decode(QByteArrayView(rawName.data(), static_cast<qsizetype>(rawName.size())));
    return text.toStdString();
}

std::string FileSystemPath(std::string_view path)
{
    // A name that is not UTF-8 always shows with a character outside ASCII.
    if (IsAscii(path)) {
        return std::string(path);
    }
    const fs::path given{std::string(path)};
    if (!Missing(given)) {
        return std::string(path);
    }
    fs::path resolved;
    for (const fs::path& part : given) {
        const std::string name = part.string();
        fs::path candidate = resolved / part;
        if (!IsAscii(name) && Missing(candidate)) {
            std::error_code error;
            const fs::path folder = resolved.empty() ? fs::path(".") : resolved;
            for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
                const std::string raw = it->path().filename().string();
                if (raw != name && DisplayName(raw) == name) {
                    candidate = resolved / raw;
                    break;
                }
            }
        }
        resolved = std::move(candidate);
    }
    return resolved.string();
}

} // namespace lectoria::library
