#pragma once

#include <string>
#include <vector>

namespace lectoria::library {

/// "(k)": the line of sentence k without a note.
std::string NotePrefix(int k);

/// Reads a lesson's note file: n notes, line k for sentence k; a missing file, a missing line
/// or an empty line gives "(k)". Notes come back as UTF-8 with their line breaks restored.
std::vector<std::string> LoadLessonNotes(const std::string& noteFile, int n);

/// How many notes a lesson keeps: one per sentence number, so a lesson numbered with gaps still
/// has a note for its highest number.
int LessonNoteCount(const std::vector<std::string>& titles);

/// Reads a lesson's notes as LoadLessonNotes does and, when the lesson has no note file yet,
/// creates one holding "(k)" lines.
std::vector<std::string> LoadOrCreateLessonNotes(const std::string& strFullPath, int n);

/// The note of one sentence of a lesson ("(k)" when there is none).
std::string LoadNote(const std::string& noteFile, int k);

/// Writes notes as a note file, one line each: GB18030, CR LF, atomically. A line break inside
/// a note is stored as U+2029, which GBK text never holds, so every note stays on its own line.
bool SaveNoteFile(const std::string& noteFile, const std::vector<std::string>& lines);

/// Text mode: rewrites the lesson's whole note file from the notes in memory.
bool SaveLessonNotes(const std::string& strFullPath, const std::vector<std::string>& grammarNotes);

/// One topic-mode list item whose note may have to be written back.
struct TopicNote
{
    std::string itemText; ///< the list item text (title)
    std::string itemPath; ///< book\lesson\title
    std::string note;     ///< "(n)" + text
    bool dirty = false;
};

/// Topic mode: writes every edited note into its own lesson's note file, at its sentence number
/// (capped at the lesson's number of sentence files). Returns the messages to show for items
/// without a usable sentence number.
std::vector<std::string> SaveTopicNotes(const std::string& strFullPath, const std::vector<TopicNote>& items);

} // namespace lectoria::library
