#include "import/TextEncoding.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

namespace lectoria::import {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

// Text files hold tabs, line ends and form feeds, but no other control characters; a NUL in
// particular shows UTF-16 without a byte-order mark or a binary file.
bool HasForeignControl(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || (u >= 0x7F && u < 0xA0);
        if (control && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f') {
            return true;
        }
        if (u == 0xFFFD) {
            return true;
        }
    }
    return false;
}

bool Decode(QStringDecoder& decoder, std::string_view bytes, QString& out)
{
    out = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return decoder.isValid() && !decoder.hasError() && !HasForeignControl(out);
}

DecodedText Success(TextEncoding encoding, const QString& text)
{
    return DecodedText{true, encoding, text.toStdString(), std::string()};
}

DecodedText Failure(std::string reason)
{
    return DecodedText{false, TextEncoding::Utf8, std::string(), std::move(reason)};
}

} // namespace

DecodedText DecodeText(std::string_view bytes)
{
    QString text;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        return Decode(utf8, bytes.substr(3), text)
                   ? Success(TextEncoding::Utf8Bom, text)
                   : Failure("not valid UTF-8 text although it starts with a UTF-8 mark");
    }
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        const bool little = bytes[0] == '\xFF';
        QStringDecoder utf16(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                             QStringConverter::Flag::Stateless);
        return bytes.size() % 2 == 0 && Decode(utf16, bytes.substr(2), text)
                   ? Success(little ? TextEncoding::Utf16LeBom : TextEncoding::Utf16BeBom, text)
                   : Failure("not valid UTF-16 text although it starts with a UTF-16 mark");
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (Decode(utf8, bytes, text)) {
        return Success(TextEncoding::Utf8, text);
    }
    QStringDecoder gb18030("GB18030");
    if (Decode(gb18030, bytes, text)) {
        return Success(TextEncoding::Gb18030, text);
    }
    return Failure("not a text file in UTF-8, UTF-16 with a byte-order mark, or GB18030/GBK");
}

DecodedText ReadTextFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::path(path), error)) {
        return Failure(path + ": is a folder, not a file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Failure(path + ": " + std::strerror(errno));
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return Failure(path + ": cannot be read");
    }
    DecodedText decoded = DecodeText(bytes);
    if (!decoded.ok) {
        decoded.reason = path + ": " + decoded.reason;
    }
    return decoded;
}

const char* EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf8Bom:
        return "UTF-8 with BOM";
    case TextEncoding::Utf16LeBom:
        return "UTF-16LE";
    case TextEncoding::Utf16BeBom:
        return "UTF-16BE";
    case TextEncoding::Gb18030:
        return "GB18030";
    }
    return "";
}

} // namespace lectoria::import
