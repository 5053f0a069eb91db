#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lectoria::library {

/// The separator of file-system paths on this platform. `itemPaths` entries always use '\'.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

/// The separator inside `itemPaths` entries (book\lesson\title), the same on every platform.
inline constexpr char kItemPathSeparator = '\\';

/// The nine books a library may hold, in the order the selection dialogs offer them.
const std::vector<std::string>& BookNames();

/// The nine book names joined by '/'.
std::string BookList();

/// The default lesson, relative to the library root, in `itemPaths` form.
inline constexpr std::string_view kDefaultLesson = "New Concept English Book 1\\Lesson 001 Excuse me";

/// The directory of the running program (the application object's), ending with the path
/// separator; the working directory when there is no application object.
std::string ProgramDirectory();

/// The last component of a lesson path ("Lesson 001 Excuse me").
std::string LessonNameOf(std::string_view lessonPath);

/// The second-to-last component of a lesson path (the book name).
std::string BookNameOf(std::string_view lessonPath);

/// A lesson path without its last two components, ending with the separator.
std::string LibraryRootOf(std::string_view lessonPath);

/// The lesson number of a lesson folder name: after "Lesson " up to the next blank;
/// empty when no blank follows the number.
std::string LessonNumberOf(std::string_view lessonName);

/// The grammar-note file of a lesson: lessonPath/BOOK LessonNNN.txt, as the path on disk
/// (FileSystemPath); empty for an empty lesson path.
std::string NoteFileOf(std::string_view lessonPath);

/// The compact mark id of an `itemPaths` entry, such as New1Lesson003T02.
std::string SentenceId(std::string_view relativePath);

/// SentenceId for one lesson's titles without making each item path: `lessonIdPrefix` is the
/// SentenceId of the lesson's entry with an empty title (what every id of the lesson begins with).
/// Only for book and lesson names without '\', which would move the split of the item path.
void SentenceIdInLesson(std::string_view lessonIdPrefix, std::string_view title, std::string& id);

/// The three parts of an `itemPaths` entry. A sentence title may hold '\' itself, so only the
/// first two separators split.
struct ItemPathParts
{
    std::string book;
    std::string lesson;
    std::string title;
};
ItemPathParts SplitItemPath(std::string_view itemPath);

/// The book\lesson part of an `itemPaths` entry, without its title.
std::string ItemLessonOf(std::string_view itemPath);

/// Turns '\'-separated `itemPaths` text (or a book\lesson part of it) into a native relative
/// path; a '\' inside the title stays.
std::string NativeRelativePath(std::string_view itemPath);

/// A file name cannot hold '?': titles store it as '^'.
std::string TitleToFileName(std::string_view title);
std::string FileNameToTitle(std::string_view fileTitle);

/// The leading decimal number of a title (0 when it does not start with digits).
int SentenceNumber(std::string_view title);

/// Everything after the first blank of a title; empty when it has none.
std::string SentenceText(std::string_view title);

/// A piece starts a written sentence when its text begins with 'A'-'Z' or an apostrophe.
bool StartsSentence(std::string_view title);

/// A piece ends a written sentence when its title ends with '.', '\'', '!' or '?'.
bool EndsSentence(std::string_view title);

/// The audio file of a list item: in text mode the lesson folder plus the item text, in topic
/// mode the library root plus the item's relative path; '?' stored as '^', extension ".sau".
/// The result is the path on disk (FileSystemPath), also for names that are not UTF-8.
std::string SentenceAudioPath(std::string_view strFullPath, bool isSelectSubject, std::string_view itemText,
                              std::string_view itemPath);

/// The names in a library folder, or what is wrong and where.
struct FolderListing
{
    std::vector<std::string> names;
    std::string error; ///< empty when the folder was read; else a message naming the folder

    bool ok() const { return error.empty(); }
};

/// The titles of a lesson's sentence files ("*.sau"), '?' restored, names shown as
/// DisplayName gives them, in reading order (ascending without regard to case). A missing or
/// unreadable lesson folder, or a book folder that is missing or blocks the way, is reported.
FolderListing ListLesson(std::string_view strFullPath);

/// The lesson folders of a book folder: every folder whose name starts with "Lesson" (dots
/// allowed), shown names, in ascending order without regard to case. A missing or
/// unreadable book folder is reported.
FolderListing ListBook(std::string_view bookPath);

/// ListLesson's titles; empty when the folder cannot be read.
std::vector<std::string> FillLessonList(std::string_view strFullPath);

/// The titles of one lesson folder held in one reusable buffer, so that listing a lesson costs no
/// allocation per file once the buffer has grown.
class LessonTitles
{
public:
    std::size_t size() const { return m_spans.size(); }
    std::string_view operator[](std::size_t i) const
    {
        return std::string_view(m_titles).substr(m_spans[i].first, m_spans[i].second);
    }
    /// Empty when the folder was read; else ListLesson's message.
    const std::string& error() const { return m_error; }

private:
    friend void ListLessonTitles(std::string_view lessonPath, LessonTitles& titles);
    using Span = std::pair<std::uint32_t, std::uint32_t>; ///< offset and length
    std::string m_names;
    std::vector<Span> m_nameSpans;
    std::string m_titles;
    std::vector<Span> m_spans;
    std::string m_path;
    std::string m_error;
};

/// What ListLesson gives for the folder, titles in the same order, into a reused buffer.
void ListLessonTitles(std::string_view lessonPath, LessonTitles& titles);

/// ListBook's names; empty when the folder cannot be read.
std::vector<std::string> LessonFolders(std::string_view bookPath);

/// The text of the first item whose sentence number is n, else the last item's text.
std::string FindSentenceItem(const std::vector<std::string>& items, int n);

/// Orders names as Windows file systems list them: ascending, ASCII letters compared upper-cased.
bool LessThanIgnoringCase(std::string_view a, std::string_view b);

} // namespace lectoria::library
