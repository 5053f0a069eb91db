#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lectoria::import {

/// Longest file name, in bytes, that the file systems we write to accept.
inline constexpr std::size_t kMaxFileNameBytes = 255;

/// Makes text safe as part of a file name on Windows and Linux: '"' becomes '\'', '/', '\\', '|'
/// and ':' become '-', '<' and '>' become '(' and ')', '*' and control characters are dropped,
/// blanks are folded and trimmed. With `forFolder`, '.' is dropped too (lesson folders hold none)
/// and '?' as well; otherwise '?' is kept for TitleToFileName to store as '^', and a '^' (which
/// would read back as '?') is dropped.
std::string SafeNamePart(std::string_view text, bool forFolder = false);

/// The titles ("NN Sentence", '?' kept) of a lesson's sentences in order: numbers of two digits,
/// three when there are more than 99 so that the names still sort in order; each title cut at a
/// character boundary so that its file name with ".sau" fits kMaxFileNameBytes. The number prefix
/// keeps every title unique.
std::vector<std::string> SentenceTitles(const std::vector<std::string>& sentences);

/// The sentence file name of a title: '?' stored as '^', ".sau" added.
std::string SentenceFileName(std::string_view title);

/// "Lesson NNN Title" with the title made safe and cut to fit; `number` is used as written.
std::string LessonFolderName(std::string_view number, std::string_view title);

/// The next free lesson number of a book, three digits: one more than the highest number among
/// the book's lesson folders ("001" for an empty book).
std::string NextLessonNumber(const std::vector<std::string>& lessonFolders);

} // namespace lectoria::import
