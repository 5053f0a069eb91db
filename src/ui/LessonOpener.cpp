#include "LessonOpener.h"

#include <QMessageBox>

#include "CProgressCtrlStart.h"
#include "CSelectSubjectDlg.h"
#include "GrammarAnalysisDlg.h"
#include "CSelectTextDlg.h"
#include "CSpecialListBox.h"
#include "ImportLessonDlg.h"
#include "NotesKeeper.h"
#include "ReadingController.h"
#include "SearchWorker.h"
#include "grammar/TextRules.h"
#include "library/Books.h"
#include "library/Library.h"
#include "library/UserLibrary.h"
#include "search/TopicSearch.h"

namespace lectoria::ui {

LessonOpener::LessonOpener(settings::Settings& settings, const Parts& parts, QObject* parent)
    : QObject(parent), m_settings(settings), m_parts(parts)
{
    connect(m_parts.list, &CSpecialListBox::fillProgress, m_parts.progress, [this](int done, int total) {
        m_parts.progress->setRange(0, total);
        m_parts.progress->setValue(done);
    });
}

LessonOpener::~LessonOpener()
{
    delete m_restoreSearch;
    m_restoreSearch = nullptr;
}

bool LessonOpener::restoring() const
{
    return m_restoreSearch != nullptr || m_parts.list->filling();
}

void LessonOpener::SwitchToLesson(const std::string& lessonPath)
{
    m_parts.reading->loop().StopReading();
    m_settings.nNowPlayNum = 1;
    m_settings.strFullPath = lessonPath;
    m_settings.isSelectSubject = false;
    // Whatever was typed while the dialog ran belongs to the old list's notes.
    SaveNotes();
    FillLessonList();
}

void LessonOpener::SaveNotes()
{
    m_parts.notes->SaveNow();
}

void LessonOpener::FillLessonList()
{
    ReloadLesson();
    // The notes themselves are read when a sentence is shown; a lesson without a note file gets
    // one now, as opening a text always did.
    m_parts.notes->store().Lesson(m_settings.strFullPath).CreateIfMissing(m_parts.list->count());
}

void LessonOpener::FillTopicResults(const std::vector<std::string>& items, const std::vector<std::string>& highlights,
                                    std::function<void()> then)
{
    m_parts.reading->SetListProblem(std::string());
    if (static_cast<int>(items.size()) > CSpecialListBox::kFillChunk) {
        m_parts.progress->setRange(0, static_cast<int>(items.size()));
        m_parts.progress->setValue(0);
        m_parts.progress->show();
    }
    m_parts.list->FillResults(items, highlights, [this, then = std::move(then)] {
        m_parts.progress->hide();
        then();
    });
}

void LessonOpener::ReloadLesson()
{
    const QSignalBlocker blocker(m_parts.list);
    m_parts.list->clear();
    const library::FolderListing lesson = library::ListLesson(m_settings.strFullPath);
    for (const std::string& title : lesson.names) {
        m_parts.list->addItem(QString::fromStdString(title));
    }
    m_parts.reading->SetListProblem(lesson.error);
}

void LessonOpener::SelectAllAndRead()
{
    m_parts.list->SelectAllItems();
    m_parts.reading->loop().StartReading();
}

void LessonOpener::RestoreLastState()
{
    if (m_restored) {
        return;
    }
    m_restored = true;
    if (!m_settings.isSelectSubject) {
        if (!m_settings.strFullPath.empty()) {
            FillLessonList();
        }
        FinishRestore(true);
        return;
    }

    // Topic mode: the last search runs again off the window's thread, with its progress shown.
    m_parts.progress->setRange(0, 0);
    m_parts.progress->setValue(0);
    m_parts.progress->show();
    search::SearchRequest request;
    request.strFullPath = m_settings.strFullPath;
    request.strSubjectBook = m_settings.strSubjectBook;
    request.allText = search::AllOfText(m_settings.strSubjectWord);
    request.anyText = search::AnyOfText(m_settings.strSubjectWord);
    request.strSubjectGrammar = m_settings.strSubjectGrammar;
    m_restoreSearch = new SearchWorker(this);
    connect(m_restoreSearch, &SearchWorker::progress, this, [this](int done, int total) {
        m_parts.progress->setRange(0, total);
        m_parts.progress->setValue(done);
    });
    connect(m_restoreSearch, &SearchWorker::finished, this, [this](const SearchOutcome& outcome) {
        m_restoreSearch->deleteLater();
        m_restoreSearch = nullptr;
        // A book or lesson gone since last time still lets the rest be read, but the user is told.
        FillTopicResults(outcome.results.Items(), outcome.results.Highlights(),
                         [this, problem = outcome.parserProblem.empty()
                                              ? search::ProblemSummary(outcome.results.problems)
                                              : outcome.parserProblem] {
                             m_parts.reading->SetListProblem(problem);
                             FinishRestore(true);
                         });
    });
    m_restoreSearch->Start(request, nullptr, m_settings.isSearchByParser);
}

void LessonOpener::FinishRestore(bool read)
{
    m_parts.progress->hide();
    m_parts.list->SelectAllItems();
    if (read) {
        m_parts.reading->loop().StartReading();
    }
}

void LessonOpener::OpenText()
{
    if (restoring()) {
        return;
    }
    SaveNotes();
    CSelectTextDlg dialog(m_settings.strFullPath,
                          library::LibraryBookList(library::LibraryRootOf(m_settings.strFullPath)),
                          m_parts.dialogParent);
    const bool confirmed =
        m_parts.runners->runTextDialog ? m_parts.runners->runTextDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) {
        if (dialog.importRequested()) {
            ImportLesson();
        }
        return;
    }
    SwitchToLesson(dialog.strFullPath());
    if (dialog.selectAndRead()) {
        SelectAllAndRead();
    } else {
        m_parts.reading->UpdatePlaylist();
    }
}

void LessonOpener::OpenTopic()
{
    OpenTopicFrom({});
}

void LessonOpener::OpenTopicFrom(const std::function<void(TopicSearchInput&)>& preset)
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
    input.isSearchByParser = m_settings.isSearchByParser;
    if (preset) {
        preset(input);
    }
    CSelectSubjectDlg dialog(input, m_parts.dialogParent);
    const bool confirmed =
        m_parts.runners->runTopicDialog ? m_parts.runners->runTopicDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) {
        return;
    }
    m_parts.reading->loop().StopReading();
    m_settings.nNowPlayNum = 1;
    m_settings.isSelectSubject = true;
    m_settings.strSubjectWord = dialog.strSubjectWord();
    m_settings.strSubjectBook = dialog.strSubjectBook();
    m_settings.strSubjectGrammar = dialog.strSubjectGrammar();
    m_settings.isSearchByParser = dialog.isSearchByParser();
    SaveNotes();
    FillTopicResults(dialog.resultItems(), dialog.highlightWords(), [this, read = dialog.selectAndRead()] {
        if (read) {
            SelectAllAndRead();
        } else {
            m_parts.reading->UpdatePlaylist();
        }
    });
}

void LessonOpener::OpenTopicWithWord(const QString& word)
{
    if (word.isEmpty()) {
        QMessageBox::information(m_parts.dialogParent, QStringLiteral("Lectoria"), QStringLiteral("请选择一个单词!"));
        return;
    }
    m_settings.strSubjectWord = grammar::ToLowerAscii(word.toStdString()) + "+";
    m_settings.strSubjectGrammar = settings::kDefaultSubjectGrammar;
    OpenTopic();
}

void LessonOpener::ImportLesson()
{
    if (restoring()) {
        return;
    }
    SaveNotes();
    std::string root = library::LibraryRootOf(m_settings.strFullPath);
    if (root.empty()) {
        root = library::UserLibraryDirectory();
    }
    ImportLessonDlg dialog(root, library::LibraryBookNames(root),
                           m_settings.isSelectSubject ? std::string() : library::BookNameOf(m_settings.strFullPath),
                           m_parts.dialogParent);
    const bool imported = m_parts.runners->runImportDialog ? m_parts.runners->runImportDialog(dialog)
                                                           : dialog.exec() == QDialog::Accepted;
    if (!imported || dialog.lessonPath().empty()) {
        return;
    }
    SwitchToLesson(dialog.lessonPath());
    m_parts.reading->UpdatePlaylist();
}

void LessonOpener::AnalyseSentence(const QString& sentence)
{
    GrammarAnalysisDlg dialog(sentence, m_parts.dialogParent);
    const bool chosen = m_parts.runners->runAnalysisDialog ? m_parts.runners->runAnalysisDialog(dialog)
                                                           : dialog.exec() == QDialog::Accepted;
    if (!chosen || dialog.chosenTopic().empty()) {
        return;
    }
    // The chosen topic alone, judged the way it was found: topic words left from the last search
    // would hide what it shows. Without books chosen yet, the sentence's own book is a start.
    OpenTopicFrom([topic = dialog.chosenTopic(), byParser = dialog.chosenByParser(),
                   book = library::BookNameOf(m_settings.strFullPath)](TopicSearchInput& input) {
        input.strSubjectWord.assign(1, '+');
        input.strSubjectGrammar = topic;
        input.isSearchByParser = byParser;
        if (input.strSubjectBook.empty()) {
            input.strSubjectBook = book;
        }
    });
}

} // namespace lectoria::ui
