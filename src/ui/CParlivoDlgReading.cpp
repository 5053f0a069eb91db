// The main window as the reading loop sees it: the list's items, the three panes, the status
// line and the loop's clock.
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include "CParlivoDlg.h"
#include "library/GrammarNotes.h"
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

std::string CParlivoDlg::NoteOf(int position) const
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return std::string();
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    if (m_settings.isSelectSubject) {
        const QListWidgetItem* item = m_sentenceList->item(listIndex);
        return item == nullptr ? std::string() : item->data(CSpecialListBox::NoteRole).toString().toStdString();
    }
    const int slot = library::SentenceNumber(ItemText(listIndex)) - 1;
    return slot >= 0 && static_cast<std::size_t>(slot) < m_lessonNotes.size()
               ? m_lessonNotes[static_cast<std::size_t>(slot)]
               : std::string();
}

void CParlivoDlg::StoreNote(int position, const std::string& note)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    if (m_settings.isSelectSubject) {
        if (QListWidgetItem* item = m_sentenceList->item(listIndex)) {
            item->setData(CSpecialListBox::NoteRole, QString::fromStdString(note));
            item->setData(CSpecialListBox::DirtyRole, true);
        }
        return;
    }
    const int slot = library::SentenceNumber(ItemText(listIndex)) - 1;
    if (slot >= 0 && static_cast<std::size_t>(slot) < m_lessonNotes.size()) {
        m_lessonNotes[static_cast<std::size_t>(slot)] = note;
        m_lessonNoteDirty[static_cast<std::size_t>(slot)] = 1;
    }
}

void CParlivoDlg::ShowGrammarNote(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    m_panes->ShowGrammarNote(NoteOf(position));
}

void CParlivoDlg::OnGrammarPaneChanged()
{
    if (m_loop->chosenCount() <= 0) {
        return;
    }
    const int position = m_settings.nNowPlayNum;
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    const int number = library::SentenceNumber(ItemText(listIndex));
    StoreNote(position, library::NotePrefix(number) + m_grammarPane->toPlainText().toStdString());
}

void CParlivoDlg::ClearPanes()
{
    m_panes->Clear();
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
    if (!problem.empty()) {
        text += " [" + problem + "]";
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
    // else happens.
    QEventLoop wait;
    QTimer::singleShot(std::max(ms, 0), &wait, &QEventLoop::quit);
    wait.exec();
}

void CParlivoDlg::UpdatePlaylist()
{
    std::vector<int> selected;
    for (const QModelIndex& index : m_sentenceList->selectionModel()->selectedIndexes()) {
        selected.push_back(index.row());
    }
    m_loop->UpdatePlaylist(std::move(selected));
}

} // namespace lectoria::ui
