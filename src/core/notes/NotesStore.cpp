#include "notes/NotesStore.h"

namespace lectoria::notes {

LessonNotes& NotesStore::Lesson(const std::string& lessonPath)
{
    std::unique_ptr<LessonNotes>& notes = m_lessons[lessonPath];
    if (!notes) {
        notes = std::make_unique<LessonNotes>(lessonPath);
    }
    return *notes;
}

bool NotesStore::dirty() const
{
    for (const auto& entry : m_lessons) {
        if (entry.second->dirty()) {
            return true;
        }
    }
    return false;
}

std::vector<std::pair<LessonNotes*, NoteStatus>> NotesStore::SaveAll()
{
    std::vector<std::pair<LessonNotes*, NoteStatus>> failures;
    for (auto& entry : m_lessons) {
        NoteStatus status = entry.second->Save();
        if (!status.ok) {
            failures.emplace_back(entry.second.get(), std::move(status));
        }
    }
    return failures;
}

void NotesStore::DropSaved()
{
    std::erase_if(m_lessons, [](const auto& entry) { return !entry.second->dirty(); });
}

} // namespace lectoria::notes
