#include "import/SentenceSplit.h"

#include <algorithm>
#include <array>

namespace lectoria::import {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsTerminal(char c)
{
    return c == '.' || c == '!' || c == '?';
}

bool IsCloser(char c)
{
    return c == '"' || c == '\'' || c == ')' || c == ']' || c == '}';
}

bool IsOpener(char c)
{
    return c == '"' || c == '\'' || c == '(' || c == '[' || c == '{';
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

// Words that a full stop follows without ending the sentence.
bool IsAbbreviation(std::string_view word)
{
    static const std::array<std::string_view, 22> words = {
        "mr", "mrs", "ms",  "dr",     "prof", "sr",  "jr",  "st",   "mt",  "vs", "etc",
        "no", "fig", "vol", "approx", "dept", "gen", "gov", "capt", "col", "lt", "sgt",
    };
    const std::string lower = Lower(word);
    return std::find(words.begin(), words.end(), lower) != words.end();
}

// The word (letters and inner dots) that ends just before position `dot`.
std::string_view WordBefore(std::string_view text, std::size_t dot)
{
    std::size_t start = dot;
    while (start > 0 && (IsLetter(text[start - 1]) || text[start - 1] == '.')) {
        --start;
    }
    return text.substr(start, dot - start);
}

// "U.S", "e.g", "a.m": single letters joined by dots, or one single letter.
bool IsInitialism(std::string_view word)
{
    if (word.empty()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const bool letterPlace = i % 2 == 0;
        if (letterPlace != IsLetter(word[i]) || (!letterPlace && word[i] != '.')) {
            return false;
        }
    }
    return true;
}

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n\f");
    if (first == std::string_view::npos) {
        return std::string();
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n\f") - first + 1));
}

void Push(std::vector<std::string>& sentences, std::string_view piece)
{
    std::string text = CleanSentenceText(piece);
    if (!text.empty()) {
        sentences.push_back(std::move(text));
    }
}

// Splits one paragraph (no blank lines inside).
void SplitParagraph(std::string_view text, std::vector<std::string>& sentences)
{
    std::size_t start = 0;
    int brackets = 0;
    bool inQuote = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(' || c == '[' || c == '{') {
            ++brackets;
        } else if ((c == ')' || c == ']' || c == '}') && brackets > 0) {
            --brackets;
        } else if (c == '"') {
            inQuote = !inQuote;
        }
        if (!IsTerminal(c)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && IsTerminal(text[end])) {
            ++end;
        }
        // Closing quotes and brackets stay with the sentence they close.
        while (end < text.size() && IsCloser(text[end])) {
            if (text[end] == '"') {
                inQuote = false;
            } else if (text[end] != '\'' && brackets > 0) {
                --brackets;
            }
            ++end;
        }
        if (brackets > 0 || inQuote) {
            i = end - 1;
            continue;
        }
        if (end < text.size() && !IsBlank(text[end])) {
            i = end - 1;
            continue;
        }
        std::size_t next = end;
        while (next < text.size() && IsBlank(text[next])) {
            ++next;
        }
        if (next < text.size()) {
            std::size_t first = next;
            while (first < text.size() && IsOpener(text[first])) {
                ++first;
            }
            const bool startsSentence = first < text.size() && (IsUpper(text[first]) || IsDigit(text[first]));
            bool keep = !startsSentence;
            if (c == '.' && end == i + 1) {
                const std::string_view word = WordBefore(text, i);
                keep = keep || IsAbbreviation(word) || IsInitialism(word);
            }
            if (keep) {
                i = end - 1;
                continue;
            }
        }
        Push(sentences, text.substr(start, end - start));
        start = end;
        i = end - 1;
    }
    Push(sentences, text.substr(start));
}

// Whether a line ends a sentence: terminal punctuation, possibly followed by closers.
bool EndsWithTerminal(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && IsCloser(line[end - 1])) {
        --end;
    }
    return end > 0 && IsTerminal(line[end - 1]);
}

} // namespace

std::vector<std::string> SplitSentences(std::string_view text)
{
    std::vector<std::string> sentences;
    std::string paragraph;
    for (const std::string& line : SplitLines(text)) {
        if (Trimmed(line).empty()) {
            SplitParagraph(paragraph, sentences);
            paragraph.clear();
        } else {
            // Typographic quotes become ASCII first, so that they keep quotations together.
            paragraph += CleanSentenceText(line);
            paragraph += '\n';
        }
    }
    SplitParagraph(paragraph, sentences);
    return sentences;
}

bool IsOneSentencePerLine(const std::vector<std::string>& englishLines)
{
    std::size_t lines = 0;
    std::size_t whole = 0;
    for (const std::string& line : englishLines) {
        const std::string trimmed = CleanSentenceText(line);
        if (trimmed.empty()) {
            continue;
        }
        ++lines;
        std::vector<std::string> sentences;
        SplitParagraph(trimmed, sentences);
        whole += sentences.size() == 1 && EndsWithTerminal(trimmed);
    }
    return lines >= 2 && whole * 2 > lines;
}

std::vector<SentenceWithNote> SentencesOfText(std::string_view text)
{
    const std::vector<std::string> lines = SplitLines(text);
    std::vector<std::string> english;
    for (const std::string& line : lines) {
        if (!HasCjk(line)) {
            english.push_back(line);
        }
    }
    const bool perLine = IsOneSentencePerLine(english);
    std::vector<SentenceWithNote> result;
    std::string paragraph;
    const auto flush = [&]() {
        for (std::string& sentence : SplitSentences(paragraph)) {
            result.push_back(SentenceWithNote{std::move(sentence), std::string()});
        }
        paragraph.clear();
    };
    for (const std::string& line : lines) {
        if (HasCjk(line)) {
            flush();
            const std::string note = Trimmed(line);
            if (!result.empty()) {
                std::string& to = result.back().note;
                to += to.empty() ? note : " " + note;
            }
        } else if (perLine) {
            std::string sentence = CleanSentenceText(line);
            if (!sentence.empty()) {
                result.push_back(SentenceWithNote{std::move(sentence), std::string()});
            }
        } else {
            paragraph += line;
            paragraph += '\n';
        }
    }
    flush();
    return result;
}

} // namespace lectoria::import
