#pragma once

#include <functional>
#include <string>

#include <QObject>

#include "notes/NotesStore.h"

class QTimer;
class QWidget;

namespace lectoria::ui {

/// Keeps the typed notes safe: saves them shortly after typing stops and whenever the window asks,
/// and when a save fails tells the user which file and why, offering to retry or save elsewhere.
class NotesKeeper : public QObject
{
    Q_OBJECT

public:
    /// What the user chose when a save failed.
    enum class Choice
    {
        Retry,
        SaveElsewhere,
        Later,   ///< keep the notes in memory and try again later
        Discard, ///< only offered when closing: close without the unsaved notes
        Cancel,  ///< only offered when closing: do not close
    };

    /// The delay after the last key before the notes are written.
    static constexpr int kSaveDelayMs = 1000;

    explicit NotesKeeper(QWidget* window);

    notes::NotesStore& store() { return m_store; }

    /// A note was typed: save once typing has paused.
    void NoteTyped();
    /// Saves every pending note now; a failure is shown once and the notes stay in memory.
    /// True when nothing is left unsaved.
    bool SaveNow();
    /// Saves before the window closes; on a failure the user decides. True when the window may close.
    bool SaveBeforeClose();

    /// Asks the user about a failed save; tests replace it. `closing` adds the close choices.
    std::function<Choice(const std::string& message, bool closing)> askOnFailure;
    /// Picks the file for "save elsewhere"; tests replace it. Empty: cancelled.
    std::function<std::string(const std::string& suggestedName)> pickOtherFile;

private:
    bool Save(bool closing);
    Choice Ask(const std::string& message, bool closing);
    bool SaveCopy(notes::LessonNotes& lesson);

    QWidget* m_window;
    notes::NotesStore m_store;
    QTimer* m_timer;
    std::string m_lastShownFailure;
};

} // namespace lectoria::ui
