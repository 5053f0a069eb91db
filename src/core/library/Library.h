#pragma once

#include <string>
#include <string_view>
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

/// The directory of the running program, ending with the path separator.
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

/// The grammar-note file of a lesson: lessonPath/BOOK LessonNNN.txt.
std::string NoteFileOf(std::string_view lessonPath);

/// The compact mark id of an `itemPaths` entry, such as New1Lesson003T02.
std::string SentenceId(std::string_view relativePath);

/// The three parts of an `itemPaths` entry. A sentence title may hold '\' itself, so only the
/// first two separators split.
struct ItemPathParts
{
    std::string book;
    std::string lesson;
    std::string title;
};
ItemPathParts SplitItemPath(std::string_view itemPath);

/// Turns '\'-separated `itemPaths` text into a native relative path.
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
std::string SentenceAudioPath(std::string_view strFullPath, bool isSelectSubject, std::string_view itemText,
                              std::string_view itemPath);

/// The titles of a lesson's sentence files ("*.sau"), '?' restored, in reading order
/// (ascending without regard to case). A missing folder gives an empty list.
std::vector<std::string> FillLessonList(std::string_view strFullPath);

/// The lesson folders of a book folder ("Lesson*" without '.'), in ascending order without
/// regard to case. A missing folder gives an empty list.
std::vector<std::string> LessonFolders(std::string_view bookPath);

/// The text of the first item whose sentence number is n, else the last item's text.
std::string FindSentenceItem(const std::vector<std::string>& items, int n);

/// Orders names as Windows file systems list them: ascending, ASCII letters compared upper-cased.
bool LessThanIgnoringCase(std::string_view a, std::string_view b);

} // namespace lectoria::library
