#include "import/SentenceText.h"

namespace lectoria::import {

namespace {

// Decodes the UTF-8 code point at `i` and moves past it; a broken sequence counts as its first byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i)
{
    const auto byte = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (i + extra >= text.size()) {
        ++i;
        return lead;
    }
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    i += extra + 1;
    return code;
}

bool IsCjk(char32_t c)
{
    return (c >= 0x3000 && c <= 0x303F) || // CJK symbols and punctuation
           (c >= 0x3400 && c <= 0x4DBF) || // extension A
           (c >= 0x4E00 && c <= 0x9FFF) || // unified ideographs
           (c >= 0xF900 && c <= 0xFAFF) || // compatibility ideographs
           (c >= 0xFF00 && c <= 0xFFEF) || // full-width forms
           (c >= 0x20000 && c <= 0x2FA1F); // supplementary ideographs
}

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n\f");
    if (first == std::string_view::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(" \t\r\n\f");
    return std::string(text.substr(first, last - first + 1));
}

// Where the first CJK character starts, or npos.
std::size_t FirstCjk(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        if (IsCjk(NextCodePoint(text, i))) {
            return at;
        }
    }
    return std::string_view::npos;
}

void AppendLine(std::string& to, std::string_view line)
{
    if (line.empty()) {
        return;
    }
    if (!to.empty()) {
        to += ' ';
    }
    to += line;
}

} // namespace

bool HasCjk(std::string_view text)
{
    return FirstCjk(text) != std::string_view::npos;
}

bool HasEnglishLetter(std::string_view text)
{
    for (char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            return true;
        }
    }
    return false;
}

std::string CleanSentenceText(std::string_view text)
{
    std::string out;
    bool blank = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        const char32_t c = NextCodePoint(text, i);
        std::string_view replacement;
        switch (c) {
        case U'\u2018':
        case U'\u2019':
        case U'\u201A':
        case U'\u2032':
            replacement = "'";
            break;
        case U'\u201C':
        case U'\u201D':
        case U'\u201E':
            replacement = "\"";
            break;
        case U'\u2013':
        case U'\u2014':
        case U'\u2212':
            replacement = "-";
            break;
        case U'\u2026':
            replacement = "...";
            break;
        case U'\u00A0':
        case U'\t':
        case U'\r':
        case U'\n':
        case U'\f':
        case U' ':
            blank = true;
            continue;
        default:
            break;
        }
        if (c < 0x20 || c == 0x7F) {
            continue;
        }
        if (blank && !out.empty()) {
            out += ' ';
        }
        blank = false;
        if (!replacement.empty()) {
            out += replacement;
        } else {
            out += text.substr(at, i - at);
        }
    }
    return out;
}

SentenceWithNote SplitBilingual(const std::vector<std::string>& lines)
{
    SentenceWithNote result;
    for (const std::string& raw : lines) {
        const std::string line = Trimmed(raw);
        const std::size_t cjk = FirstCjk(line);
        if (cjk == std::string::npos) {
            AppendLine(result.text, line);
        } else if (cjk > 0 && HasEnglishLetter(std::string_view(line).substr(0, cjk)) && result.text.empty() &&
                   lines.size() == 1) {
            AppendLine(result.text, Trimmed(std::string_view(line).substr(0, cjk)));
            AppendLine(result.note, Trimmed(std::string_view(line).substr(cjk)));
        } else {
            AppendLine(result.note, line);
        }
    }
    result.text = CleanSentenceText(result.text);
    return result;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        lines.push_back(current);
    }
    return lines;
}

} // namespace lectoria::import
