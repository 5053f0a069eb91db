// The main window's list commands: restoring the last state, opening a text or a topic search,
// saving notes and the large pane's menu.
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include "CParlivoDlg.h"
#include "CProgressCtrlStart.h"
#include "CSelectSubjectDlg.h"
#include "CSelectTextDlg.h"
#include "CSetEditColorDlg.h"
#include "SearchWorker.h"
#include "HelpDialog.h"
#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"
#include "library/GrammarNotes.h"
#include "library/Library.h"
#include "search/TopicSearch.h"

namespace lectoria::ui {

void CParlivoDlg::FillLessonList()
{
    ReloadLesson();
    std::vector<std::string> titles;
    for (int row = 0; row < m_sentenceList->count(); ++row) {
        titles.push_back(m_sentenceList->item(row)->text().toStdString());
    }
    m_lessonNotes =
        library::LoadLessonNotes(library::NoteFileOf(m_settings.strFullPath), library::LessonNoteCount(titles));
    m_lessonNoteDirty.assign(m_lessonNotes.size(), 0);
}

void CParlivoDlg::FillTopicResults(const std::vector<std::string>& items, const std::vector<std::string>& notes,
                                   const std::vector<std::string>& highlights)
{
    const QSignalBlocker blocker(m_sentenceList);
    m_sentenceList->clear();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::size_t cut = items[i].rfind(library::kItemPathSeparator);
        auto* item = new QListWidgetItem(
            QString::fromStdString(cut == std::string::npos ? items[i] : items[i].substr(cut + 1)), m_sentenceList);
        item->setData(CSpecialListBox::PathRole, QString::fromStdString(items[i]));
        item->setData(CSpecialListBox::NoteRole, QString::fromStdString(i < notes.size() ? notes[i] : std::string()));
        item->setData(CSpecialListBox::DirtyRole, false);
        item->setData(CSpecialListBox::HighlightRole,
                      QString::fromStdString(i < highlights.size() ? highlights[i] : std::string()));
    }
    m_lessonNotes.clear();
    m_lessonNoteDirty.clear();
}

void CParlivoDlg::ReloadLesson()
{
    const QSignalBlocker blocker(m_sentenceList);
    m_sentenceList->clear();
    for (const std::string& title : library::FillLessonList(m_settings.strFullPath)) {
        m_sentenceList->addItem(QString::fromStdString(title));
    }
}

void CParlivoDlg::SelectAllAndRead()
{
    m_sentenceList->SelectAllItems();
    m_loop->StartReading();
}

void CParlivoDlg::RestoreLastState()
{
    if (m_restored) {
        return;
    }
    m_restored = true;
    m_startTimer->stop();
    if (!m_settings.isSelectSubject) {
        if (!m_settings.strFullPath.empty()) {
            FillLessonList();
        }
        FinishRestore(true);
        return;
    }

    // Topic mode: the last search runs again off the window's thread, with its progress shown.
    m_restoreProgress->setRange(0, 0);
    m_restoreProgress->setValue(0);
    m_restoreProgress->show();
    search::SearchRequest request;
    request.strFullPath = m_settings.strFullPath;
    request.strSubjectBook = m_settings.strSubjectBook;
    request.allText = search::AllOfText(m_settings.strSubjectWord);
    request.anyText = search::AnyOfText(m_settings.strSubjectWord);
    request.strSubjectGrammar = m_settings.strSubjectGrammar;
    m_restoreSearch = new SearchWorker(this);
    connect(m_restoreSearch, &SearchWorker::progress, this, [this](int done, int total) {
        m_restoreProgress->setRange(0, total);
        m_restoreProgress->setValue(done);
    });
    connect(m_restoreSearch, &SearchWorker::finished, this, [this](const SearchOutcome& outcome) {
        m_restoreSearch->deleteLater();
        m_restoreSearch = nullptr;
        FillTopicResults(outcome.results.items, outcome.notes, outcome.results.highlights);
        FinishRestore(true);
    });
    m_restoreSearch->Start(request, nullptr, true);
}

void CParlivoDlg::FinishRestore(bool read)
{
    m_restoreProgress->hide();
    m_sentenceList->SelectAllItems();
    if (read) {
        m_loop->StartReading();
    }
}

void CParlivoDlg::SaveNotes()
{
    if (!m_settings.isSelectSubject) {
        if (!m_lessonNotes.empty()) {
            library::SaveLessonNotes(m_settings.strFullPath, m_lessonNotes);
        }
        return;
    }
    std::vector<library::TopicNote> items;
    for (int row = 0; row < m_sentenceList->count(); ++row) {
        const QListWidgetItem* item = m_sentenceList->item(row);
        items.push_back(library::TopicNote{item->text().toStdString(),
                                           item->data(CSpecialListBox::PathRole).toString().toStdString(),
                                           item->data(CSpecialListBox::NoteRole).toString().toStdString(),
                                           item->data(CSpecialListBox::DirtyRole).toBool()});
    }
    for (const std::string& message : library::SaveTopicNotes(m_settings.strFullPath, items)) {
        QMessageBox::information(this, QStringLiteral("Lectoria"), QString::fromStdString(message));
    }
}

void CParlivoDlg::OpenText()
{
    if (restoring()) {
        return;
    }
    SaveNotes();
    CSelectTextDlg dialog(m_settings.strFullPath, library::BookList(), this);
    const bool confirmed = runTextDialog ? runTextDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) {
        return;
    }
    m_loop->StopReading();
    m_settings.nNowPlayNum = 1;
    m_settings.strFullPath = dialog.strFullPath();
    m_settings.isSelectSubject = false;
    ReloadLesson();
    m_lessonNotes = dialog.grammarNotes();
    m_lessonNoteDirty = dialog.noteDirty();
    if (dialog.selectAndRead()) {
        SelectAllAndRead();
    } else {
        UpdatePlaylist();
    }
}

void CParlivoDlg::OpenTopic()
{
    if (restoring()) {
        return;
    }
    SaveNotes();
    TopicSearchInput input;
    input.strFullPath = m_settings.strFullPath;
    input.bookList = library::BookList();
    input.strSubjectBook = m_settings.strSubjectBook;
    input.strSubjectWord = m_settings.strSubjectWord;
    input.strSubjectGrammar = m_settings.strSubjectGrammar;
    CSelectSubjectDlg dialog(input, this);
    const bool confirmed = runTopicDialog ? runTopicDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) {
        return;
    }
    m_loop->StopReading();
    m_settings.nNowPlayNum = 1;
    m_settings.isSelectSubject = true;
    m_settings.strSubjectWord = dialog.strSubjectWord();
    m_settings.strSubjectBook = dialog.strSubjectBook();
    m_settings.strSubjectGrammar = dialog.strSubjectGrammar();
    FillTopicResults(dialog.resultItems(), dialog.grammarNotes(), dialog.highlightWords());
    if (dialog.selectAndRead()) {
        SelectAllAndRead();
    } else {
        UpdatePlaylist();
    }
}

void CParlivoDlg::OpenTopicWithWord(const QString& word)
{
    if (word.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Lectoria"), QStringLiteral("请选择一个单词!"));
        return;
    }
    m_settings.strSubjectWord = grammar::ToLowerAscii(word.toStdString()) + "+";
    m_settings.strSubjectGrammar = "所有+所有+所有";
    OpenTopic();
}

void CParlivoDlg::ShowLargePaneMenu(const QPoint& globalPos)
{
    auto* menu = new QMenu(m_currentPane);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction* colour = menu->addAction(QIcon(QStringLiteral(":/icons/colour.svg")), QStringLiteral("选择颜色(&C)"));
    menu->addSeparator();
    QAction* topic = menu->addAction(QIcon(QStringLiteral(":/icons/open-topic.svg")), QStringLiteral("打开主题(&S)"));
    menu->addSeparator();
    QAction* help = menu->addAction(QIcon(QStringLiteral(":/icons/help.svg")), QStringLiteral("帮助系统"));
    menu->addSeparator();
    connect(topic, &QAction::triggered, this,
            [this] { OpenTopicWithWord(m_currentPane->textCursor().selectedText().trimmed()); });
    connect(help, &QAction::triggered, this, &CParlivoDlg::ShowHelp);
    connect(colour, &QAction::triggered, this, [this] {
        if (EditColorPair(settings::kCurrentText, settings::kCurrentBackground)) {
            ShowCurrentSentence(m_settings.nNowPlayNum);
            ShowWholeSentence(m_settings.nNowPlayNum);
        }
    });
    menu->popup(globalPos);
}

void CParlivoDlg::ShowWholePaneMenu(const QPoint& globalPos)
{
    auto* menu = new QMenu(m_wholePane);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction* colour = menu->addAction(QIcon(QStringLiteral(":/icons/colour.svg")), QStringLiteral("选择颜色(&C)"));
    menu->addSeparator();
    QAction* help = menu->addAction(QIcon(QStringLiteral(":/icons/help.svg")), QStringLiteral("帮助系统"));
    menu->addSeparator();
    connect(help, &QAction::triggered, this, &CParlivoDlg::ShowHelp);
    connect(colour, &QAction::triggered, this, [this] {
        if (EditColorPair(settings::kWholeText, settings::kWholeBackground)) {
            ShowWholeSentence(m_settings.nNowPlayNum);
            ShowCurrentSentence(m_settings.nNowPlayNum);
        }
    });
    menu->popup(globalPos);
}

void CParlivoDlg::ShowHelp()
{
    ::lectoria::ui::ShowHelp(this);
}

} // namespace lectoria::ui
