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
#include "WindowColours.h"
#include "HelpDialog.h"
#include "NotesKeeper.h"
#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"
#include "library/Books.h"
#include "library/Library.h"
#include "search/TopicSearch.h"

namespace lectoria::ui {

void CParlivoDlg::FillLessonList()
{
    ReloadLesson();
    // The notes themselves are read when a sentence is shown; a lesson without a note file gets
    // one now, as opening a text always did.
    m_notes->store().Lesson(m_settings.strFullPath).CreateIfMissing(m_sentenceList->count());
}

void CParlivoDlg::FillTopicResults(const std::vector<std::string>& items, const std::vector<std::string>& highlights,
                                   std::function<void()> then)
{
    m_reading->SetListProblem(std::string());
    if (static_cast<int>(items.size()) > CSpecialListBox::kFillChunk) {
        m_restoreProgress->setRange(0, static_cast<int>(items.size()));
        m_restoreProgress->setValue(0);
        m_restoreProgress->show();
    }
    m_sentenceList->FillResults(items, highlights, [this, then = std::move(then)] {
        m_restoreProgress->hide();
        then();
    });
}

void CParlivoDlg::ReloadLesson()
{
    const QSignalBlocker blocker(m_sentenceList);
    m_sentenceList->clear();
    const library::FolderListing lesson = library::ListLesson(m_settings.strFullPath);
    for (const std::string& title : lesson.names) {
        m_sentenceList->addItem(QString::fromStdString(title));
    }
    m_reading->SetListProblem(lesson.error);
}

void CParlivoDlg::UpdatePlaylist()
{
    if (m_reading != nullptr) {
        m_reading->UpdatePlaylist();
    }
}

void CParlivoDlg::SelectAllAndRead()
{
    m_sentenceList->SelectAllItems();
    m_reading->loop().StartReading();
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
        // A book or lesson gone since last time still lets the rest be read, but the user is told.
        FillTopicResults(outcome.results.items, outcome.results.highlights,
                         [this, problem = search::ProblemSummary(outcome.results.problems)] {
                             m_reading->SetListProblem(problem);
                             FinishRestore(true);
                         });
    });
    m_restoreSearch->Start(request, nullptr);
}

void CParlivoDlg::FinishRestore(bool read)
{
    m_restoreProgress->hide();
    m_sentenceList->SelectAllItems();
    if (read) {
        m_reading->loop().StartReading();
    }
}

bool CParlivoDlg::SaveNotes()
{
    return m_notes->SaveNow();
}

void CParlivoDlg::OpenText()
{
    if (restoring()) {
        return;
    }
    SaveNotes();
    CSelectTextDlg dialog(m_settings.strFullPath,
                          library::LibraryBookList(library::LibraryRootOf(m_settings.strFullPath)), this);
    const bool confirmed = runTextDialog ? runTextDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) {
        if (dialog.importRequested()) {
            ImportLesson();
        }
        return;
    }
    m_reading->loop().StopReading();
    m_settings.nNowPlayNum = 1;
    m_settings.strFullPath = dialog.strFullPath();
    m_settings.isSelectSubject = false;
    // Whatever was typed while the dialog handed over belongs to the old list's notes.
    SaveNotes();
    FillLessonList();
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
    input.bookList = library::LibraryBookList(library::LibraryRootOf(m_settings.strFullPath));
    input.strSubjectBook = m_settings.strSubjectBook;
    input.strSubjectWord = m_settings.strSubjectWord;
    input.strSubjectGrammar = m_settings.strSubjectGrammar;
    CSelectSubjectDlg dialog(input, this);
    const bool confirmed = runTopicDialog ? runTopicDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) {
        return;
    }
    m_reading->loop().StopReading();
    m_settings.nNowPlayNum = 1;
    m_settings.isSelectSubject = true;
    m_settings.strSubjectWord = dialog.strSubjectWord();
    m_settings.strSubjectBook = dialog.strSubjectBook();
    m_settings.strSubjectGrammar = dialog.strSubjectGrammar();
    SaveNotes();
    FillTopicResults(dialog.resultItems(), dialog.highlightWords(), [this, read = dialog.selectAndRead()] {
        if (read) {
            SelectAllAndRead();
        } else {
            UpdatePlaylist();
        }
    });
}

void CParlivoDlg::OpenTopicWithWord(const QString& word)
{
    if (word.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Lectoria"), QStringLiteral("请选择一个单词!"));
        return;
    }
    m_settings.strSubjectWord = grammar::ToLowerAscii(word.toStdString()) + "+";
    m_settings.strSubjectGrammar = settings::kDefaultSubjectGrammar;
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
        if (m_colours->EditPair(settings::kCurrentText, settings::kCurrentBackground)) {
            m_reading->RefreshSentence();
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
        if (m_colours->EditPair(settings::kWholeText, settings::kWholeBackground)) {
            m_reading->RefreshSentence();
        }
    });
    menu->popup(globalPos);
}

void CParlivoDlg::ShowHelp()
{
    ::lectoria::ui::ShowHelp(this);
}

} // namespace lectoria::ui
