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
    return text;
}

WholeSentence ComposeWholeSentence(const std::vector<std::string>& items, std::string_view itemText)
{
    WholeSentence whole;
    const int count = static_cast<int>(items.size());
    const int n = library::SentenceNumber(itemText);
    auto piece = [&items](int k) { return library::FindSentenceItem(items, k); };

    int first = n;
    if (!library::StartsSentence(piece(n))) {
        first = 1;
        for (int k = n - 1; k >= 1; --k) {
            if (library::StartsSentence(piece(k))) {
                first = k;
                break;
            }
        }
    }
    int last = n;
    if (!library::EndsSentence(piece(n))) {
        for (int k = n + 1; k <= count; ++k) {
            last = k;
            if (library::EndsSentence(piece(k))) {
                break;
            }
        }
    }
    // A number below 1 or far past the list cannot span pieces; show the item alone.
    if (first < 1 || first > last || last - first > count) {
        first = last = n;
    }
    for (int k = first; k <= last; ++k) {
        whole.pieces.push_back(library::SentenceText(piece(k)) + (k < last ? " " : ""));
    }
    if (first < last) {
        whole.currentPiece = n - first;
    }
    return whole;
}

std::string TopicLessonText(std::string_view itemPath)
{
    const std::size_t cut = itemPath.rfind(library::kItemPathSeparator);
    return "Current Text:" + std::string(cut == std::string_view::npos ? itemPath : itemPath.substr(0, cut));
}

std::string NoteDisplayText(std::string_view note)
{
    const std::size_t close = note.find(')');
    return close == std::string_view::npos ? std::string(note) : std::string(note.substr(close + 1));
}

} // namespace lectoria::reading
