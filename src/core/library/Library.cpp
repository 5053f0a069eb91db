#include "library/Library.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <system_error>

#include "grammar/TextRules.h"

namespace fs = std::filesystem;

namespace lectoria::library {

namespace {

bool IsSeparator(char c)
{
    return c == kPathSeparator || c == '/';
}

// Components of a lesson path, ignoring a trailing separator.
std::vector<std::string> PathComponents(std::string_view path)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (IsSeparator(c)) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    return parts;
}

std::string Replaced(std::string_view text, char from, char to)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), from, to);
    return out;
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

std::string FileName(const fs::path& path)
{
    return path.filename().string();
}

} // namespace

const std::vector<std::string>& BookNames()
{
    static const std::vector<std::string> names = {
        "New Concept English Book 1", "New Concept English Book 2",      "New Concept English Book 3",
        "New Concept English Book 4", "Primary English For China",       "Oxford Junior English",
        "Some English Movings",       "Some English News and Speakings", "Some English Songs",
    };
    return names;
}

std::string BookList()
{
    return grammar::JoinList(BookNames(), '/');
}

std::string ProgramDirectory()
{
    std::error_code error;
#ifdef _WIN32
    fs::path program = fs::current_path(error);
#else
    fs::path program = fs::read_symlink("/proc/self/exe", error).parent_path();
    if (error) {
        program = fs::current_path(error);
    }
#endif
    std::string directory = program.string();
    if (directory.empty() || !IsSeparator(directory.back())) {
        directory += kPathSeparator;
    }
    return directory;
}

std::string LessonNameOf(std::string_view lessonPath)
{
    const std::vector<std::string> parts = PathComponents(lessonPath);
    return parts.empty() ? std::string() : parts.back();
}

std::string BookNameOf(std::string_view lessonPath)
{
    const std::vector<std::string> parts = PathComponents(lessonPath);
    return parts.size() < 2 ? std::string() : parts[parts.size() - 2];
}

std::string LibraryRootOf(std::string_view lessonPath)
{
    while (!lessonPath.empty() && IsSeparator(lessonPath.back())) {
        lessonPath.remove_suffix(1);
    }
    for (int component = 0; component < 2; ++component) {
        const std::size_t cut = lessonPath.find_last_of(std::string{kPathSeparator, '/'});
        if (cut == std::string_view::npos) {
            return std::string();
        }
        lessonPath = lessonPath.substr(0, cut);
    }
    return std::string(lessonPath) + kPathSeparator;
}

std::string LessonNumberOf(std::string_view lessonName)
{
    constexpr std::size_t prefixLength = 7; // "Lesson "
    if (lessonName.size() <= prefixLength) {
        return std::string();
    }
    const std::string_view rest = lessonName.substr(prefixLength);
    const std::size_t blank = rest.find(' ');
    return blank == std::string_view::npos ? std::string() : std::string(rest.substr(0, blank));
}

std::string NoteFileOf(std::string_view lessonPath)
{
    std::string path(lessonPath);
    while (!path.empty() && IsSeparator(path.back())) {
        path.pop_back();
    }
    return path + kPathSeparator + BookNameOf(lessonPath) + " Lesson" + LessonNumberOf(LessonNameOf(lessonPath)) +
           ".txt";
}

ItemPathParts SplitItemPath(std::string_view itemPath)
{
    ItemPathParts parts;
    const std::size_t first = itemPath.find(kItemPathSeparator);
    if (first == std::string_view::npos) {
        parts.title = itemPath;
        return parts;
    }
    parts.book = itemPath.substr(0, first);
    const std::size_t second = itemPath.find(kItemPathSeparator, first + 1);
    if (second == std::string_view::npos) {
        parts.title = itemPath.substr(first + 1);
        return parts;
    }
    parts.lesson = itemPath.substr(first + 1, second - first - 1);
    parts.title = itemPath.substr(second + 1);
    return parts;
}

std::string SentenceId(std::string_view relativePath)
{
    const std::vector<std::string> parts = grammar::SplitList(relativePath, kItemPathSeparator);
    auto words = [&parts](std::size_t i) {
        return i < parts.size() ? grammar::SplitList(parts[i], ' ') : std::vector<std::string>{""};
    };
    const std::vector<std::string> book = words(0);
    const std::vector<std::string> lesson = words(1);
    const std::vector<std::string> title = words(2);
    return book.front() + book.back() + lesson[0] + (lesson.size() > 1 ? lesson[1] : std::string()) + "T" +
           title.front();
}

std::string NativeRelativePath(std::string_view itemPath)
{
    return Replaced(itemPath, kItemPathSeparator, kPathSeparator);
}

std::string TitleToFileName(std::string_view title)
{
    return Replaced(title, '?', '^');
}

std::string FileNameToTitle(std::string_view fileTitle)
{
    return Replaced(fileTitle, '^', '?');
}

int SentenceNumber(std::string_view title)
{
    long long value = 0;
    for (char c : title) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

std::string SentenceText(std::string_view title)
{
    const std::size_t blank = title.find(' ');
    return blank == std::string_view::npos ? std::string() : std::string(title.substr(blank + 1));
}

bool StartsSentence(std::string_view title)
{
    const std::string text = SentenceText(title);
    return !text.empty() && ((text[0] >= 'A' && text[0] <= 'Z') || text[0] == '\'');
}

bool EndsSentence(std::string_view title)
{
    if (title.empty()) {
        return false;
    }
    const char last = title.back();
    return last == '.' || last == '\'' || last == '!' || last == '?';
}

std::string SentenceAudioPath(std::string_view strFullPath, bool isSelectSubject, std::string_view itemText,
                              std::string_view itemPath)
{
    if (isSelectSubject) {
        return LibraryRootOf(strFullPath) + TitleToFileName(NativeRelativePath(itemPath)) + ".sau";
    }
    return std::string(strFullPath) + kPathSeparator + TitleToFileName(itemText) + ".sau";
}

bool LessThanIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
    });
}

std::vector<std::string> FillLessonList(std::string_view strFullPath)
{
    std::vector<std::string> titles;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(std::string(strFullPath)), error), end; !error && it != end;
         it.increment(error)) {
        const fs::path& path = it->path();
        if (!EqualsIgnoringCase(path.extension().string(), ".sau") || it->is_directory(error)) {
            continue;
        }
        titles.push_back(path.stem().string());
    }
    // Sorted by file name, as a Windows listing returns them, before '^' turns back into '?'.
    std::sort(titles.begin(), titles.end(), LessThanIgnoringCase);
    for (std::string& title : titles) {
        title = FileNameToTitle(title);
    }
    return titles;
}

std::vector<std::string> LessonFolders(std::string_view bookPath)
{
    std::vector<std::string> lessons;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(std::string(bookPath)), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = FileName(it->path());
        if (!it->is_directory(error) || name.find('.') != std::string::npos ||
            !EqualsIgnoringCase(std::string_view(name).substr(0, 6), "Lesson")) {
            continue;
        }
        lessons.push_back(name);
    }
    std::sort(lessons.begin(), lessons.end(), LessThanIgnoringCase);
    return lessons;
}

std::string FindSentenceItem(const std::vector<std::string>& items, int n)
{
    for (const std::string& item : items) {
        if (SentenceNumber(item) == n) {
            return item;
        }
    }
    return items.empty() ? std::string() : items.back();
}

} // namespace lectoria::library
