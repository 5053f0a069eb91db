#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QObject>

#include "settings/Settings.h"

class QString;
class QWidget;

namespace lectoria::ui {

class CProgressCtrlStart;
class CSelectSubjectDlg;
class CSelectTextDlg;
struct TopicSearchInput;
class GrammarAnalysisDlg;
class CSpecialListBox;
class ImportLessonDlg;
class NotesKeeper;
class ReadingController;
class SearchWorker;

/// How the selection dialogs are run; tests replace them to answer a dialog without showing it.
struct DialogRunners
{
    std::function<bool(CSelectTextDlg&)> runTextDialog;
    std::function<bool(CSelectSubjectDlg&)> runTopicDialog;
    std::function<bool(ImportLessonDlg&)> runImportDialog;
    std::function<bool(GrammarAnalysisDlg&)> runAnalysisDialog;
};

/// What the sentence list holds and where it comes from: the start-up restore, opening a lesson
/// ("打开文本"), a topic search ("打开专题"), importing a lesson, and filling the list from them.
class LessonOpener : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        CSpecialListBox* list = nullptr;
        CProgressCtrlStart* progress = nullptr;
        ReadingController* reading = nullptr;
        NotesKeeper* notes = nullptr;
        QWidget* dialogParent = nullptr;
        const DialogRunners* runners = nullptr;
    };
    LessonOpener(settings::Settings& settings, const Parts& parts, QObject* parent = nullptr);
    /// A restore still searching stops here; its outcome must not reach a window being taken down.
    ~LessonOpener() override;

    /// Brings back the last text or topic search, selects everything and starts reading; once.
    void RestoreLastState();
    /// True while the start-up restore's search is still running, or a long list of results is
    /// still going in.
    bool restoring() const;

    void OpenText();
    void OpenTopic();
    /// The large pane's "打开主题": a topic search for the selected word.
    void OpenTopicWithWord(const QString& word);
    /// "语法分析": the grammar of a sentence; a topic chosen there opens the topic dialog with it,
    /// leaving the stored search as it was unless that dialog is confirmed.
    void AnalyseSentence(const QString& sentence);
    /// "导入课文": imports a lesson and opens it.
    void ImportLesson();
    /// Lists the open lesson again in file order (text mode).
    void ReloadLesson();

private:
    /// The topic dialog from the stored search, with `preset` (when given) changing its choice.
    void OpenTopicFrom(const std::function<void(lectoria::ui::TopicSearchInput&)>& preset);
    void FillLessonList();
    /// Reading stops and the list shows the lesson from its first sentence (text mode).
    void SwitchToLesson(const std::string& lessonPath);
    /// Replaces the list with topic-search results and their data (topic mode), then runs `then`;
    /// a long list goes in with its progress shown while the window stays responsive.
    void FillTopicResults(const std::vector<std::string>& items, const std::vector<std::string>& highlights,
                          std::function<void()> then);
    void SelectAllAndRead();
    void FinishRestore(bool read);
    /// Writes the notes before the list changes hands.
    void SaveNotes();

    settings::Settings& m_settings;
    Parts m_parts;
    bool m_restored = false;
    SearchWorker* m_restoreSearch = nullptr;
};

} // namespace lectoria::ui
