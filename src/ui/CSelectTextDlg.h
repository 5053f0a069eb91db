#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;

namespace lectoria::ui {

/// The text selection dialog: pick a book and a lesson, see its sentences, and hand back the
/// lesson folder.
class CSelectTextDlg : public QDialog
{
    Q_OBJECT

public:
    CSelectTextDlg(std::string strFullPath, std::string bookList, QWidget* parent = nullptr);

    /// The chosen lesson folder (after OK).
    const std::string& strFullPath() const { return m_strFullPath; }
    /// True when closed with "确定并全选朗读".
    bool selectAndRead() const { return m_selectAndRead; }
    /// True when closed with "导入课文": the caller opens the import dialog.
    bool importRequested() const { return m_importRequested; }

    /// Fills the book, lesson and sentence lists from the current lesson path.
    void FillFromPath();

    QComboBox* bookBox() const { return m_bookBox; }
    QComboBox* lessonBox() const { return m_lessonBox; }
    QListWidget* sentenceList() const { return m_sentences; }
    QPushButton* button(int id) const;

    /// The folder picker; tests replace it. Returns an empty string when nothing was picked.
    std::function<QString()> pickFolder;
    /// Shows a problem to the user (a message box); tests replace it.
    std::function<void(const QString&)> tellUser;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// Takes a lesson folder path apart into the library root, the book and the lesson.
    void AdoptLessonPath(const std::string& lessonPath);
    /// Sets the book and the lesson within the current library root.
    void SetLesson(const std::string& book, const std::string& lesson);
    void OnBookChanged(int index);
    void OnLessonChanged(int index);
    void SetFolder();
    void Confirm(bool selectAndRead);

    std::string m_strFullPath;
    // The current choice in parts: a book without lessons has no lesson path to derive the
    // library root from again.
    std::string m_libraryRoot;
    std::string m_book;
    std::string m_lesson;
    std::string m_bookList;
    bool m_selectAndRead = false;
    bool m_importRequested = false;
    bool m_filling = false;

    QComboBox* m_bookBox = nullptr;
    QComboBox* m_lessonBox = nullptr;
    QListWidget* m_sentences = nullptr;
    std::vector<std::pair<int, QPushButton*>> m_buttons;
};

} // namespace lectoria::ui
