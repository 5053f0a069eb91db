#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "notes/LessonNotes.h"

namespace lectoria::notes {

/// The notes of every lesson the list has shown, loaded when first asked for and kept until
/// saved: the one place the window and the list go to for a sentence's note, in text and topic
/// mode alike.
class NotesStore
{
public:
    /// The notes of a lesson folder, loaded on first use.
    LessonNotes& Lesson(const std::string& lessonPath);

    /// True while any lesson holds an edit that is not on disk.
    bool dirty() const;

    /// Saves every lesson with edits; the failures, one per lesson, with the lesson's notes kept.
    std::vector<std::pair<LessonNotes*, NoteStatus>> SaveAll();

    /// Forgets the lessons without pending edits, so that a later visit reads their files anew.
    void DropSaved();

private:
    std::map<std::string, std::unique_ptr<LessonNotes>> m_lessons;
};

} // namespace lectoria::notes
