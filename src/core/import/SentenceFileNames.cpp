#include "import/SentenceFileNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "library/Library.h"

namespace lectoria::import {

namespace {

constexpr std::string_view kSentenceExtension = ".sau";

// Cuts UTF-8 text to at most `bytes` bytes without splitting a character, then drops trailing blanks.
std::string CutToBytes(std::string text, std::size_t bytes)
{
    if (text.size() > bytes) {
        std::size_t cut = bytes;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text.resize(cut);
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string SafeNamePart(std::string_view text, bool forFolder)
{
    std::string out;
    bool blank = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        std::string_view replacement(&c, 1);
        switch (c) {
        case '"':
            replacement = "'";
            break;
        case '/':
        case '\\':
        case '|':
        case ':':
            replacement = "-";
            break;
        case '<':
            replacement = "(";
            break;
        case '>':
            replacement = ")";
            break;
        case '*':
        case '^':
            replacement = {};
            break;
        case '.':
        case '?':
            if (forFolder) {
                replacement = {};
            }
            break;
        default:
            break;
        }
        if (byte < 0x20 || byte == 0x7F || c == ' ') {
            blank = blank || c == ' ' || c == '\t';
            continue;
        }
        if (replacement.empty()) {
            continue;
        }
        if (blank && !out.empty()) {
            out += ' ';
        }
        blank = false;
        out += replacement;
    }
    // Windows drops trailing dots and blanks from names.
    while (!out.empty() && (out.back() == '.' || out.back() == ' ') && forFolder) {
        out.pop_back();
    }
    return out;
}

std::vector<std::string> SentenceTitles(const std::vector<std::string>& sentences)
{
    const int width = sentences.size() > 99 ? 3 : 2;
    std::vector<std::string> titles;
    titles.reserve(sentences.size());
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%0*zu", width, i + 1);
        const std::string text = SafeNamePart(sentences[i]);
        const std::string title = text.empty() ? std::string(number) : std::string(number) + " " + text;
        titles.push_back(CutToBytes(title, kMaxFileNameBytes - kSentenceExtension.size()));
    }
    return titles;
}

std::string SentenceFileName(std::string_view title)
{
    return library::TitleToFileName(title) + std::string(kSentenceExtension);
}

std::string LessonFolderName(std::string_view number, std::string_view title)
{
    const std::string safe = SafeNamePart(title, true);
    // Temporary siblings add a suffix of a few bytes; room is kept for it.
    return CutToBytes("Lesson " + std::string(number) + (safe.empty() ? std::string() : " " + safe),
                      kMaxFileNameBytes - 32);
}

std::string NextLessonNumber(const std::vector<std::string>& lessonFolders)
{
    int highest = 0;
    constexpr std::string_view prefix = "Lesson ";
    for (const std::string& folder : lessonFolders) {
        const bool hasPrefix =
            folder.size() > prefix.size() &&
            std::equal(prefix.begin(), prefix.end(), folder.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            });
        if (!hasPrefix) {
            continue;
        }
        int number = 0;
        for (std::size_t i = prefix.size(); i < folder.size() && folder[i] >= '0' && folder[i] <= '9'; ++i) {
            number = std::min(number * 10 + (folder[i] - '0'), 99999999);
        }
        highest = std::max(highest, number);
    }
    char text[16];
    std::snprintf(text, sizeof text, "%03d", highest + 1);
    return text;
}

} // namespace lectoria::import
