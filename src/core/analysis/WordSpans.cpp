#include "analysis/WordSpans.h"

#include <algorithm>

namespace lectoria::analysis {

namespace {

bool IsWordByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '\'' || c >= 0x80;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

void AddOccurrences(std::string_view sentence, std::string_view word, bool edgeBefore, bool edgeAfter,
                    std::vector<WordSpan>& spans)
{
    if (word.empty() || word.size() > sentence.size()) {
        return;
    }
    for (std::size_t at = 0; at + word.size() <= sentence.size(); ++at) {
        if (!SameIgnoringCase(sentence.substr(at, word.size()), word)) {
            continue;
        }
        const bool before = !edgeBefore || at == 0 || !IsWordByte(static_cast<unsigned char>(sentence[at - 1]));
        const std::size_t end = at + word.size();
        const bool after =
            !edgeAfter || end == sentence.size() || !IsWordByte(static_cast<unsigned char>(sentence[end]));
        if (before && after) {
            spans.push_back({at, word.size()});
        }
    }
}

void Sort(std::vector<WordSpan>& spans)
{
    std::sort(spans.begin(), spans.end(), [](const WordSpan& a, const WordSpan& b) {
        return a.start != b.start ? a.start < b.start : a.length > b.length;
    });
    spans.erase(std::unique(spans.begin(), spans.end()), spans.end());
}

} // namespace

std::vector<WordSpan> FindingSpans(std::string_view sentence, std::string_view words)
{
    std::vector<WordSpan> spans;
    std::size_t at = 0;
    while (at < words.size()) {
        const std::size_t blank = words.find(' ', at);
        const std::string_view word =
            words.substr(at, blank == std::string_view::npos ? std::string_view::npos : blank - at);
        AddOccurrences(sentence, word, word.empty() || word.front() != '\'', true, spans);
        if (blank == std::string_view::npos) {
            break;
        }
        at = blank + 1;
    }
    Sort(spans);
    return spans;
}

std::vector<WordSpan> MatchedWordSpans(std::string_view sentence, std::string_view matchedWords)
{
    std::vector<WordSpan> spans;
    std::size_t at = 0;
    while (at <= matchedWords.size()) {
        const std::size_t slash = matchedWords.find('/', at);
        std::string_view piece =
            matchedWords.substr(at, slash == std::string_view::npos ? std::string_view::npos : slash - at);
        const bool edgeBefore = !piece.empty() && piece.front() == ' ';
        const bool edgeAfter = !piece.empty() && piece.back() == ' ';
        while (!piece.empty() && piece.front() == ' ') {
            piece.remove_prefix(1);
        }
        while (!piece.empty() && piece.back() == ' ') {
            piece.remove_suffix(1);
        }
        AddOccurrences(sentence, piece, edgeBefore, edgeAfter, spans);
        if (slash == std::string_view::npos) {
            break;
        }
        at = slash + 1;
    }
    Sort(spans);
    return spans;
}

} // namespace lectoria::analysis
