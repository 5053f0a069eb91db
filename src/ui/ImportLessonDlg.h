#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QDialog>

#include "import/LessonBuilder.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;
class QThread;

namespace lectoria::ui {

/// The "导入课文" dialog: choose an audio file with its timed text, or a text file or pasted text,
/// then the book (existing or new) and the title; preview the sentences with their times; import
/// on a worker thread with a progress bar and a cancel button. Accepted once the lesson exists.
class ImportLessonDlg : public QDialog
{
    Q_OBJECT

public:
    /// `books`: the library's book list; `currentBook` is chosen first.
    ImportLessonDlg(std::string libraryRoot, const std::vector<std::string>& books, const std::string& currentBook,
                    QWidget* parent = nullptr);
    ~ImportLessonDlg() override;

    /// The new lesson folder, after the dialog was accepted.
    const std::string& lessonPath() const { return m_lessonPath; }

    /// The request the fields describe now.
    lectoria::import::ImportRequest request() const;

    // Controls, for tests.
    QPushButton* audioSourceButton() const { return m_audioSource; }
    QPushButton* textSourceButton() const { return m_textSource; }
    QLineEdit* audioEdit() const { return m_audioEdit; }
    QLineEdit* timedEdit() const { return m_timedEdit; }
    QLineEdit* textFileEdit() const { return m_textFileEdit; }
    QPlainTextEdit* pastedText() const { return m_pasted; }
    QComboBox* bookBox() const { return m_bookBox; }
    QLineEdit* titleEdit() const { return m_titleEdit; }
    QComboBox* voiceBox() const { return m_voiceBox; }
    QSpinBox* wpmBox() const { return m_wpmBox; }
    QTableWidget* previewTable() const { return m_preview; }
    QLabel* messageLabel() const { return m_message; }
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* previewButton() const { return m_previewButton; }
    QPushButton* importButton() const { return m_importButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

    /// Shows a failure; tests replace it so that no message box blocks them.
    std::function<void(const QString&)> showError;

signals:
    void importFinished(bool ok);

protected:
    void reject() override;

private:
    void ChooseFile(QLineEdit* edit, const QString& filter);
    void Preview();
    void StartImport();
    void FinishImport(const import::ImportResult& result);
    void SetBusy(bool busy);

    std::string m_libraryRoot;
    std::string m_lessonPath;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QThread* m_worker = nullptr;

    QPushButton* m_audioSource = nullptr;
    QPushButton* m_textSource = nullptr;
    QStackedWidget* m_sourcePages = nullptr;
    QLineEdit* m_audioEdit = nullptr;
    QLineEdit* m_timedEdit = nullptr;
    QLineEdit* m_textFileEdit = nullptr;
    QPlainTextEdit* m_pasted = nullptr;
    QComboBox* m_voiceBox = nullptr;
    QSpinBox* m_wpmBox = nullptr;
    QComboBox* m_bookBox = nullptr;
    QLineEdit* m_titleEdit = nullptr;
    QTableWidget* m_preview = nullptr;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace lectoria::ui
