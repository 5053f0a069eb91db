// The main window as the reading loop sees it: the list's items, the three panes, the status
// line and the loop's clock.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include "CParlivoDlg.h"
#include "NotesKeeper.h"
#include "library/Library.h"
#include "reading/Panes.h"

namespace lectoria::ui {

std::string CParlivoDlg::ItemText(int listIndex) const
{
    const QListWidgetItem* item = m_sentenceList->item(listIndex);
    return item == nullptr ? std::string() : item->text().toStdString();
}

std::string CParlivoDlg::AudioPath(int listIndex) const
{
    const QListWidgetItem* item = m_sentenceList->item(listIndex);
    const std::string path =
        item == nullptr ? std::string() : item->data(CSpecialListBox::PathRole).toString().toStdString();
    return library::SentenceAudioPath(m_settings.strFullPath, m_settings.isSelectSubject, ItemText(listIndex), path);
}

void CParlivoDlg::ShowPanes(int position)
{
    ShowCurrentSentence(position);
    ShowWholeSentence(position);
    ShowGrammarNote(position);
}

void CParlivoDlg::ShowCurrentSentence(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    const QListWidgetItem* item = m_sentenceList->item(listIndex);
    const std::string highlights = m_settings.isSelectSubject && item != nullptr
                                       ? item->data(CSpecialListBox::HighlightRole).toString().toStdString()
                                       : std::string();
    m_panes->ShowCurrentSentence(reading::CurrentSentenceText(ItemText(listIndex)), highlights,
                                 m_settings.colorTable[settings::kCurrentText],
                                 m_settings.colorTable[settings::kWholeText]);
    m_intervalCaption->setFocus();
}

void CParlivoDlg::ShowWholeSentence(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    if (m_settings.isSelectSubject) {
        const QListWidgetItem* item = m_sentenceList->item(listIndex);
        const std::string path =
            item == nullptr ? std::string() : item->data(CSpecialListBox::PathRole).toString().toStdString();
        m_panes->ShowWholeText(reading::TopicLessonText(path), m_settings.colorTable[settings::kWholeText]);
        return;
    }
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(m_sentenceList->count()));
    for (int row = 0; row < m_sentenceList->count(); ++row) {
        items.push_back(m_sentenceList->item(row)->text().toStdString());
    }
    m_panes->ShowWholeSentence(reading::ComposeWholeSentence(items, ItemText(listIndex)),
                               m_settings.colorTable[settings::kWholeText],
                               m_settings.colorTable[settings::kCurrentText]);
}

CParlivoDlg::NoteTarget CParlivoDlg::NoteTargetOf(int listIndex) const
{
    NoteTarget target;
    target.listIndex = listIndex;
    const QListWidgetItem* item = m_sentenceList->item(listIndex);
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

void CParlivoDlg::ShowGrammarNote(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const NoteTarget target = NoteTargetOf(m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)]);
    // Moving on to another sentence is a moment to write what was typed for the last one.
    if (m_notes->store().dirty() &&
        (target.lesson != m_shownNote.lesson || target.slot.line != m_shownNote.slot.line)) {
        m_notes->SaveNow();
    }
    m_shownNote = target;
    const QSignalBlocker blocker(m_grammarPane);
    std::string refusal;
    if (!target.slot.kept()) {
        refusal = notes::NotKeptText(target.slot);
    } else {
        const notes::LessonNotes& lesson = m_notes->store().Lesson(target.lesson);
        if (lesson.state() == notes::LessonNotes::State::Unreadable) {
            refusal = lesson.loadError() + "。为免覆盖，此课的笔记暂不能编辑。";
        } else {
            m_grammarPane->setReadOnly(false);
            m_grammarPane->setPlaceholderText(QString());
            m_panes->ShowGrammarNote(lesson.NoteLine(target.slot.line));
            return;
        }
    }
    m_grammarPane->clear();
    m_grammarPane->setReadOnly(true);
    m_grammarPane->setPlaceholderText(QString::fromStdString(refusal));
}

void CParlivoDlg::OnGrammarPaneChanged()
{
    if (!m_shownNote.slot.kept() || m_grammarPane->isReadOnly()) {
        return;
    }
    notes::LessonNotes& lesson = m_notes->store().Lesson(m_shownNote.lesson);
    const notes::NoteStatus status =
        lesson.SetNoteText(m_shownNote.slot.line, m_grammarPane->toPlainText().toStdString());
    if (!status.ok && status.message != m_lastNoteProblem) {
        m_lastNoteProblem = status.message;
        QMessageBox::warning(this, QStringLiteral("Lectoria"), QString::fromStdString(status.message));
    }
    m_notes->NoteTyped();
}

void CParlivoDlg::ClearPanes()
{
    const QSignalBlocker blocker(m_grammarPane);
    m_panes->Clear();
    // With no sentence on screen a typed note would belong to nothing.
    m_shownNote = NoteTarget{};
    m_grammarPane->setReadOnly(true);
    m_grammarPane->setPlaceholderText(QStringLiteral("选中句子后可在此写语法笔记。"));
}

void CParlivoDlg::UpdateStatusLine(const std::string& problem)
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
    std::string text = reading::StatusLineText(input);
    // A sentence that cannot be heard is the more recent news; a lesson that could not be listed
    // stays in view until the list is filled again.
    const std::string& shown = problem.empty() ? m_listProblem : problem;
    if (!shown.empty()) {
        text += " [" + shown + "]";
    }
    m_statusLine->setText(QString::fromStdString(text));
    m_statusLine->setCursorPosition(0);
    m_statusShowsItem = false;
}

void CParlivoDlg::StartPolling()
{
    m_pollTimer->start();
}

void CParlivoDlg::StopPolling()
{
    m_pollTimer->stop();
}

void CParlivoDlg::WaitPumping(int ms)
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

void CParlivoDlg::UpdatePlaylist()
{
    std::vector<int> selected;
    for (const QModelIndex& index : m_sentenceList->selectionModel()->selectedIndexes()) {
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
