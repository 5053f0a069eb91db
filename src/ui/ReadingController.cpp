// Reading aloud in the window: the list's items, the three panes, the status line and the loop's
// clock.
#include "ReadingController.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include "CSpecialListBox.h"
#include "DeferredMedia.h"
#include "NotesKeeper.h"
#include "SentencePanes.h"
#include "library/Library.h"
#include "reading/IMediaPlayer.h"
#include "reading/Panes.h"

namespace lectoria::ui {

ReadingController::ReadingController(settings::Settings& settings, reading::IMediaPlayer& player,
                                     const std::string& tempDir, const ReadingControls& controls, NotesKeeper& notes,
                                     QObject* parent)
    : QObject(parent), m_settings(settings), m_player(player), m_controls(controls), m_notes(notes),
      m_audio(tempDir.empty() ? library::DefaultTempDir() : tempDir)
{
    m_audio.CreateTempDir();
    m_player.SetAutoStart(true);
    m_player.SetPlayCount(1);
    m_panes = std::make_unique<SentencePanes>(controls.wholePane, controls.currentPane, controls.grammarPane);
    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(100);
    m_loop = std::make_unique<reading::ReadingLoop>(m_settings, m_player, m_audio, *this, *this);
    m_renderer = std::make_unique<platform::DeferredRenderer>(m_audio.tempDir());
    m_loop->SetPractice(m_renderer.get(), nullptr);
    connect(m_pollTimer, &QTimer::timeout, this, [this] { m_loop->OnPollTick(); });
    connect(m_controls.grammarPane, &QPlainTextEdit::textChanged, this, &ReadingController::OnGrammarPaneChanged);
}

ReadingController::~ReadingController()
{
    m_loop->Shutdown();
    m_player.Stop();
    m_renderer->Release();
    m_audio.RemoveTempDir();
}

void ReadingController::Shutdown()
{
    m_loop->Shutdown();
    m_renderer->Release();
    m_audio.DeleteTempAudio();
}

void ReadingController::SetRecorder(reading::IShadowRecorder* recorder)
{
    m_loop->SetPractice(m_renderer.get(), recorder);
}

std::string ReadingController::CurrentAudioPath() const
{
    const int listIndex = m_loop->currentListIndex();
    return listIndex < 0 ? std::string() : AudioPath(listIndex);
}

void ReadingController::ShadowingFailed(const std::string& why)
{
    emit shadowingFailed(QString::fromStdString(why));
}

void ReadingController::RefreshSentence()
{
    ShowCurrentSentence(m_settings.nNowPlayNum);
    ShowWholeSentence(m_settings.nNowPlayNum);
}

void ReadingController::SetListProblem(std::string problem)
{
    m_listProblem = std::move(problem);
    UpdateStatusLine(m_statusProblem);
}

void ReadingController::ShowItemText(int row)
{
    if (row < 0 || row >= m_controls.list->count()) {
        return;
    }
    m_controls.statusLine->setText(m_controls.list->item(row)->text());
    m_statusShowsItem = true;
}

void ReadingController::PointerLeftList()
{
    if (m_statusShowsItem) {
        UpdateStatusLine(m_statusProblem);
    }
}

std::string ReadingController::ItemText(int listIndex) const
{
    const QListWidgetItem* item = m_controls.list->item(listIndex);
    return item == nullptr ? std::string() : item->text().toStdString();
}

std::string ReadingController::AudioPath(int listIndex) const
{
    const QListWidgetItem* item = m_controls.list->item(listIndex);
    const std::string path =
        item == nullptr ? std::string() : item->data(CSpecialListBox::PathRole).toString().toStdString();
    return library::SentenceAudioPath(m_settings.strFullPath, m_settings.isSelectSubject, ItemText(listIndex), path);
}

void ReadingController::ShowPanes(int position)
{
    ShowCurrentSentence(position);
    ShowWholeSentence(position);
    ShowGrammarNote(position);
}

void ReadingController::ShowCurrentSentence(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    const QListWidgetItem* item = m_controls.list->item(listIndex);
    const std::string highlights = m_settings.isSelectSubject && item != nullptr
                                       ? item->data(CSpecialListBox::HighlightRole).toString().toStdString()
                                       : std::string();
    m_panes->ShowCurrentSentence(reading::CurrentSentenceText(ItemText(listIndex)), highlights,
                                 m_settings.colorTable[settings::kCurrentText],
                                 m_settings.colorTable[settings::kWholeText]);
    m_controls.focusAfterShow->setFocus();
}

void ReadingController::ShowWholeSentence(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    if (m_settings.isSelectSubject) {
        const QListWidgetItem* item = m_controls.list->item(listIndex);
        const std::string path =
            item == nullptr ? std::string() : item->data(CSpecialListBox::PathRole).toString().toStdString();
        m_panes->ShowWholeText(reading::TopicLessonText(path), m_settings.colorTable[settings::kWholeText]);
        return;
    }
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(m_controls.list->count()));
    for (int row = 0; row < m_controls.list->count(); ++row) {
        items.push_back(m_controls.list->item(row)->text().toStdString());
    }
    m_panes->ShowWholeSentence(reading::ComposeWholeSentence(items, ItemText(listIndex)),
                               m_settings.colorTable[settings::kWholeText],
                               m_settings.colorTable[settings::kCurrentText]);
}

ReadingController::NoteTarget ReadingController::NoteTargetOf(int listIndex) const
{
    NoteTarget target;
    target.listIndex = listIndex;
    const QListWidgetItem* item = m_controls.list->item(listIndex);
    if (item == nullptr) {
        return target;
    }
    const std::string title = item->text().toStdString();
    target.slot = notes::SlotOfTitle(title);
    if (!m_settings.isSelectSubject) {
        target.lesson = m_settings.strFullPath;
        return target;
    }
    const library::ItemPathParts parts =
        library::SplitItemPath(item->data(CSpecialListBox::PathRole).toString().toStdString());
    target.lesson =
        library::LibraryRootOf(m_settings.strFullPath) + parts.book + library::kPathSeparator + parts.lesson;
    return target;
}

void ReadingController::ShowGrammarNote(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const NoteTarget target = NoteTargetOf(m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)]);
    // Moving on to another sentence is a moment to write what was typed for the last one.
    if (m_notes.store().dirty() && (target.lesson != m_shownNote.lesson || target.slot.line != m_shownNote.slot.line)) {
        m_notes.SaveNow();
    }
    m_shownNote = target;
    const QSignalBlocker blocker(m_controls.grammarPane);
    std::string refusal;
    if (!target.slot.kept()) {
        refusal = notes::NotKeptText(target.slot);
    } else {
        const notes::LessonNotes& lesson = m_notes.store().Lesson(target.lesson);
        if (lesson.state() == notes::LessonNotes::State::Unreadable) {
            refusal = lesson.loadError() + "。为免覆盖，此课的笔记暂不能编辑。";
        } else {
            m_controls.grammarPane->setReadOnly(false);
            m_controls.grammarPane->setPlaceholderText(QString());
            m_panes->ShowGrammarNote(lesson.NoteLine(target.slot.line));
            return;
        }
    }
    m_controls.grammarPane->clear();
    m_controls.grammarPane->setReadOnly(true);
    m_controls.grammarPane->setPlaceholderText(QString::fromStdString(refusal));
}

void ReadingController::OnGrammarPaneChanged()
{
    if (!m_shownNote.slot.kept() || m_controls.grammarPane->isReadOnly()) {
        return;
    }
    notes::LessonNotes& lesson = m_notes.store().Lesson(m_shownNote.lesson);
    const notes::NoteStatus status =
        lesson.SetNoteText(m_shownNote.slot.line, m_controls.grammarPane->toPlainText().toStdString());
    if (!status.ok && status.message != m_lastNoteProblem) {
        m_lastNoteProblem = status.message;
        QMessageBox::warning(m_controls.messageParent, QStringLiteral("Lectoria"),
                             QString::fromStdString(status.message));
    }
    m_notes.NoteTyped();
}

void ReadingController::ClearPanes()
{
    const QSignalBlocker blocker(m_controls.grammarPane);
    m_panes->Clear();
    // With no sentence on screen a typed note would belong to nothing.
    m_shownNote = NoteTarget{};
    m_controls.grammarPane->setReadOnly(true);
    m_controls.grammarPane->setPlaceholderText(QStringLiteral("选中句子后可在此写语法笔记。"));
}

void ReadingController::UpdateStatusLine(const std::string& problem)
{
    m_statusProblem = problem;
    reading::StatusInput input;
    input.isSelectSubject = m_settings.isSelectSubject;
    input.strFullPath = m_settings.strFullPath;
    input.strSubjectWord = m_settings.strSubjectWord;
    input.strSubjectGrammar = m_settings.strSubjectGrammar;
    input.strSubjectBook = m_settings.strSubjectBook;
    input.isReading = m_loop->isReading();
    input.chosenCount = m_loop->chosenCount();
    input.repeatRound = m_loop->repeatRound();
    input.nNowPlayNum = m_settings.nNowPlayNum;
    input.practice = m_loop->PracticeText();
    std::string text = reading::StatusLineText(input);
    // A sentence that cannot be heard is the more recent news; a lesson that could not be listed
    // stays in view until the list is filled again.
    const std::string& shown = problem.empty() ? m_listProblem : problem;
    if (!shown.empty()) {
        text += " [" + shown + "]";
    }
    m_controls.statusLine->setText(QString::fromStdString(text));
    m_controls.statusLine->setCursorPosition(0);
    m_statusShowsItem = false;
}

void ReadingController::StartPolling()
{
    m_pollTimer->start();
}

void ReadingController::StopPolling()
{
    m_pollTimer->stop();
}

void ReadingController::WaitPumping(int ms)
{
    // The user's commands keep working during the wait; the timer ends it even when nothing
    // else happens. Qt's default timer for waits of 2 s and more may fire up to 5 % early, and
    // a precise one may still wake a fraction of a millisecond early: the clock decides.
    QElapsedTimer clock;
    clock.start();
    QEventLoop wait;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &wait, [&] {
        const qint64 left = ms - clock.elapsed();
        if (left > 0) {
            timer.start(static_cast<int>(left));
        } else {
            wait.quit();
        }
    });
    timer.start(std::max(ms, 0));
    wait.exec();
}

void ReadingController::UpdatePlaylist()
{
    std::vector<int> selected;
    for (const QModelIndex& index : m_controls.list->selectionModel()->selectedIndexes()) {
        selected.push_back(index.row());
    }
    m_loop->UpdatePlaylist(std::move(selected));
    // While reading, the position may now point at another sentence: the panes follow it, so that
    // a note typed belongs to the sentence on screen.
    const int position = m_settings.nNowPlayNum;
    if (m_loop->isReading() && position >= 1 && position <= m_loop->chosenCount() &&
        m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)] != m_shownNote.listIndex) {
        ShowPanes(position);
    }
}

} // namespace lectoria::ui
