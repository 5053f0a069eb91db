#pragma once

#include <string>
#include <string_view>

namespace lectoria::import {

/// The encodings a text or subtitle file may come in.
enum class TextEncoding
{
    Utf8,
    Utf8Bom,
    Utf16LeBom,
    Utf16BeBom,
    Gb18030,
};

/// A text file's content as UTF-8, or why it could not be read.
struct DecodedText
{
    bool ok = false;
    TextEncoding encoding = TextEncoding::Utf8;
    std::string text;   ///< UTF-8 without a byte-order mark; line ends as in the file
    std::string reason; ///< English, when !ok
};

/// Detects the encoding of `bytes`: a byte-order mark decides UTF-8 or UTF-16; otherwise valid
/// UTF-8 is UTF-8 and valid GB18030 (a superset of GBK) is GB18030. Anything else, or text holding
/// control characters a text file never has, is rejected rather than guessed.
DecodedText DecodeText(std::string_view bytes);

/// Reads and decodes a whole file; the reason names the file.
DecodedText ReadTextFile(const std::string& path);

/// The encoding's usual name ("UTF-8", "GB18030" ...).
const char* EncodingName(TextEncoding encoding);

} // namespace lectoria::import
