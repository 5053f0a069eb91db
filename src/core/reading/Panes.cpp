#include "reading/Panes.h"

#include <algorithm>
#include <cmath>

#include "grammar/TextRules.h"
#include "library/Library.h"

namespace lectoria::reading {

namespace {

long long IntegerSquareRoot(long long value)
{
    long long root = static_cast<long long>(std::sqrt(static_cast<double>(value)));
    while (root * root > value) {
        --root;
    }
    while ((root + 1) * (root + 1) <= value) {
        ++root;
    }
    return root;
}

std::string Formatted(const char* format, int a, int b, int c = 0)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return buffer;
}

} // namespace

int FitFontHeight(std::string_view text, int w, int h)
{
    const long long length = static_cast<long long>(text.size());
    if (length == 0 || w <= 0 || h <= 0) {
        // Nothing to fit: the pane's own height is as good as any and never divides by zero.
        return std::max(h, 1);
    }
    long long f = IntegerSquareRoot(2LL * w * h / length);
    if (length >= 30 && length < 80) {
        f = f * 90 / 100;
    } else if (length < 30) {
        f = f * 80 / 100;
    }
    if (text.find(' ') == std::string_view::npos) {
        f = h;
        if (static_cast<long long>(h / 2) * length > w) {
            f = 2 * (w / length);
        }
    }
    if (w > 15LL * h && length < 60) {
        f = h * 90 / 100;
        if ((f / 2) * length > w) {
            f = 2 * (w / length);
        }
    }
    return static_cast<int>(f);
}

std::string CurrentSentenceText(std::string_view itemText)
{
    // A file without a leading number is named by its sentence alone.
    if (library::SentenceNumber(itemText) == 0) {
        return std::string(itemText);
    }
    std::string text(itemText);
    if (!text.empty() && text.back() >= 'a' && text.back() <= 'z') {
        text += ' ';
    }
    return library::SentenceText(text);
}

int FitSeconds(std::string_view shownText)
{
    const auto digits = std::count_if(shownText.begin(), shownText.end(), [](char c) { return c >= '0' && c <= '9'; });
    const long long seconds = (static_cast<long long>(shownText.size()) + 8 * digits) / 13;
    return static_cast<int>(std::max<long long>(seconds, 1));
}

std::string BookAbbrev(std::string_view book)
{
    const std::vector<std::string> words = grammar::SplitList(book, ' ');
    const std::string& first = words.front();
    if (first.compare(0, 3, "Som") == 0) {
        return words.back();
    }
    return first.substr(0, 3) + ".." + words.back();
}

std::string StatusLineText(const StatusInput& input)
{
    std::string text;
    if (!input.isSelectSubject) {
        text = "当前课文:" + library::BookNameOf(input.strFullPath) + " " + library::LessonNameOf(input.strFullPath);
    } else {
        text = "主题模式 主题词为:" + input.strSubjectWord + " 语法主题为:" + input.strSubjectGrammar + " 在 ";
        const std::vector<std::string> books = grammar::SplitList(input.strSubjectBook, '/');
        for (std::size_t i = 0; i < books.size(); ++i) {
            text += BookAbbrev(books[i]) + (i + 1 < books.size() ? "/" : " ");
        }
        text += "范围内";
    }
    text += " ";
    if (input.isReading) {
        text += Formatted("共选择%d句,正第%d次朗读第%d句.", input.chosenCount, input.repeatRound, input.nNowPlayNum);
    } else if (input.chosenCount != 0) {
        text += Formatted("共选择%d句,当前显示第%d句.", input.chosenCount, input.nNowPlayNum);
    } else {
        text += "未选择";
    }
    if (!input.practice.empty()) {
        text += " " + input.practice;
    }
    return text;
}

WholeSentence ComposeWholeSentence(const std::vector<std::string>& items, std::string_view itemText)
{
    WholeSentence whole;
    const int count = static_cast<int>(items.size());
    const int n = library::SentenceNumber(itemText);
    if (n == 0) {
        // Without a number the piece has no place among the numbered ones: it stands alone.
        whole.pieces.emplace_back(itemText);
        whole.currentPiece = 0;
        return whole;
    }
    auto piece = [&items](int k) { return library::FindSentenceItem(items, k); };

    int first = n;
    if (!library::StartsSentence(piece(n))) {
        // The nearest number below n whose piece starts a sentence. Numbers no item carries all
        // give the last item, so only the highest of them can matter: the walk stays within the
        // list however large a number a file name holds.
        first = 1;
        int absent = n - 1;
        while (absent >= 1 && library::FindSentenceItem(items, absent) != items.back()) {
            --absent;
        }
        if (absent >= 1 && library::StartsSentence(items.back())) {
            first = absent;
        }
        for (const std::string& item : items) {
            const int k = library::SentenceNumber(item);
            if (k > first && k < n && library::StartsSentence(piece(k))) {
                first = k;
            }
        }
    }
    int last = n;
    if (!library::EndsSentence(piece(n))) {
        for (int k = n; k < count;) {
            last = ++k;
            if (library::EndsSentence(piece(k))) {
                break;
            }
        }
    }
    // A number below 1 or far past the list cannot span pieces; show the item alone.
    if (first < 1 || first > last || last - first > count) {
        first = last = n;
    }
    for (long long k = first; k <= last; ++k) {
        whole.pieces.push_back(library::SentenceText(piece(static_cast<int>(k))) + (k < last ? " " : ""));
    }
    if (first < last) {
        whole.currentPiece = n - first;
    }
    return whole;
}

std::string TopicLessonText(std::string_view itemPath)
{
    return "Current Text:" + library::ItemLessonOf(itemPath);
}

std::string NoteDisplayText(std::string_view note)
{
    const std::size_t close = note.find(')');
    return close == std::string_view::npos ? std::string(note) : std::string(note.substr(close + 1));
}

} // namespace lectoria::reading
