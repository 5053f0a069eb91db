// The main window's "导入课文" command: the import dialog, then the new lesson opened for reading.
#include "CParlivoDlg.h"
#include "ImportLessonDlg.h"
#include "library/Books.h"
#include "library/Library.h"
#include "reading/ReadingLoop.h"

namespace lectoria::ui {

void CParlivoDlg::ImportLesson()
{
    if (restoring()) {
        return;
    }
    SaveNotes();
    std::string root = library::LibraryRootOf(m_settings.strFullPath);
    if (root.empty()) {
        root = library::ProgramDirectory();
    }
    ImportLessonDlg dialog(root, library::LibraryBookNames(root),
                           m_settings.isSelectSubject ? std::string() : library::BookNameOf(m_settings.strFullPath),
                           this);
    const bool imported = runImportDialog ? runImportDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!imported || dialog.lessonPath().empty()) {
        return;
    }
    m_reading->loop().StopReading();
    m_settings.nNowPlayNum = 1;
    m_settings.strFullPath = dialog.lessonPath();
    m_settings.isSelectSubject = false;
    // Whatever was typed while the dialog ran belongs to the old list's notes.
    SaveNotes();
    FillLessonList();
    UpdatePlaylist();
}

} // namespace lectoria::ui
