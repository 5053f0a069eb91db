// The "导入课文" dialog and its place in the window: preview, import on a worker thread, cancel,
// and the new lesson opened in the sentence list.
#include <filesystem>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "CParlivoDlg.h"
#include "CSelectTextDlg.h"
#include "FakeMediaPlayer.h"
#include "ImportLessonDlg.h"
#include "QSettingsProfile.h"
#include "MainWindowTesting.h"
#include "TempFolder.h"
#include "library/Library.h"
#include "notes/LessonNotes.h"

using namespace lectoria;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

const char* const kStory = "Tom has a red kite.\n汤姆有一只红风筝。\n"
                           "Does it fly high? It flies over the trees!\n";

// Fills the dialog with pasted text for a new book.
void FillText(ui::ImportLessonDlg& dialog, const QString& text)
{
    QTest::mouseClick(dialog.textSourceButton(), Qt::LeftButton);
    dialog.pastedText()->setPlainText(text);
    dialog.bookBox()->setCurrentText(QStringLiteral("My Kites"));
    dialog.titleEdit()->setText(QStringLiteral("Red kite"));
    dialog.wpmBox()->setValue(220);
}

TEST(ImportWindow, PreviewThenImportOnAWorkerThread)
{
    TempFolder folder;
    ui::ImportLessonDlg dialog(folder.path().string(), library::BookNames(), "New Concept English Book 1");
    std::vector<QString> errors;
    dialog.showError = [&errors](const QString& text) { errors.push_back(text); };
    FillText(dialog, QString::fromUtf8(kStory));

    QTest::mouseClick(dialog.previewButton(), Qt::LeftButton);
    ASSERT_EQ(dialog.previewTable()->rowCount(), 3);
    EXPECT_EQ(dialog.previewTable()->item(0, 3)->text(), QStringLiteral("Tom has a red kite."));
    EXPECT_EQ(dialog.previewTable()->item(0, 4)->text(), QStringLiteral("汤姆有一只红风筝。"));
    EXPECT_EQ(dialog.previewTable()->item(2, 3)->text(), QStringLiteral("It flies over the trees!"));

    QSignalSpy finished(&dialog, &ui::ImportLessonDlg::importFinished);
    QTest::mouseClick(dialog.importButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.importButton()->isEnabled());
    EXPECT_TRUE(dialog.cancelButton()->isEnabled());
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished.front().front().toBool()) << dialog.messageLabel()->text().toStdString();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.progressBar()->value(), dialog.progressBar()->maximum());

    const fs::path lesson = folder.path() / "My Kites" / "Lesson 001 Red kite";
    EXPECT_EQ(dialog.lessonPath(), lesson.string());
    EXPECT_EQ(
        library::FillLessonList(lesson.string()),
        (std::vector<std::string>{"01 Tom has a red kite.", "02 Does it fly high?", "03 It flies over the trees!"}));
    EXPECT_EQ(notes::LessonNotes(lesson.string()).NoteLine(1), "(1)汤姆有一只红风筝。");
}

TEST(ImportWindow, CancelLeavesNothingAndAFailureIsShown)
{
    TempFolder folder;
    ui::ImportLessonDlg dialog(folder.path().string(), library::BookNames(), "");
    std::vector<QString> errors;
    dialog.showError = [&errors](const QString& text) { errors.push_back(text); };
    QString longText;
    for (int i = 1; i <= 60; ++i) {
        longText += QStringLiteral("This is sentence number %1 of a long story. ").arg(i);
    }
    FillText(dialog, longText);
    QSignalSpy finished(&dialog, &ui::ImportLessonDlg::importFinished);
    // Cancel as soon as the first sentence is done.
    QObject::connect(dialog.progressBar(), &QProgressBar::valueChanged, &dialog, [&dialog](int value) {
        if (value > 0 && dialog.cancelButton()->isEnabled()) {
            QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        }
    });
    QTest::mouseClick(dialog.importButton(), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_FALSE(finished.front().front().toBool());
    EXPECT_TRUE(dialog.messageLabel()->text().contains(QStringLiteral("取消")));
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(fs::exists(folder.path() / "My Kites"));
    EXPECT_TRUE(dialog.importButton()->isEnabled());

    // A voice espeak-ng does not have fails before anything is written, with the message shown.
    finished.clear();
    dialog.voiceBox()->setCurrentText(QStringLiteral("xx-nonexistent"));
    QTest::mouseClick(dialog.importButton(), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(60000));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors.front().contains(QStringLiteral("xx-nonexistent")));
    EXPECT_TRUE(errors.front().contains(QStringLiteral("没有任何改动")));
    EXPECT_FALSE(fs::exists(folder.path() / "My Kites"));
}

class ImportFromWindow : public testing::Test
{
protected:
    ImportFromWindow()
    {
        m_folder.Write(fs::path("program") / library::NativeRelativePath(library::kDefaultLesson) / "01 Excuse me!.sau",
                       "audio");
        m_window =
            test::OpenMainWindow(m_folder.path(), &m_player, m_profile, (m_folder.path() / "program").string() + "/");
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return m_window->sentenceList()->count() > 0 && !m_window->restoring(); }, 20000));
    }

    TempFolder m_folder;
    test::FakeMediaPlayer m_player;
    std::unique_ptr<platform::QSettingsProfile> m_profile;
    std::unique_ptr<ui::CParlivoDlg> m_window;
};

TEST_F(ImportFromWindow, TheListMenuImportsAndOpensTheNewLesson)
{
    std::string offeredBook;
    m_window->runImportDialog = [&offeredBook](ui::ImportLessonDlg& dialog) {
        offeredBook = dialog.bookBox()->currentText().toStdString();
        FillText(dialog, QString::fromUtf8(kStory));
        QSignalSpy finished(&dialog, &ui::ImportLessonDlg::importFinished);
        QTest::mouseClick(dialog.importButton(), Qt::LeftButton);
        return finished.wait(60000) && dialog.result() == QDialog::Accepted;
    };
    QMenu* menu = m_window->sentenceList()->CreateContextMenu();
    QAction* import = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("导入课文(&I)")) {
            import = action;
        }
    }
    ASSERT_NE(import, nullptr);
    import->trigger();
    delete menu;

    EXPECT_EQ(offeredBook, "New Concept English Book 1");
    const fs::path lesson = m_folder.path() / "program" / "My Kites" / "Lesson 001 Red kite";
    EXPECT_EQ(m_window->settings().strFullPath, lesson.string());
    EXPECT_FALSE(m_window->settings().isSelectSubject);
    ASSERT_EQ(m_window->sentenceList()->count(), 3);
    EXPECT_EQ(m_window->sentenceList()->item(1)->text(), QStringLiteral("02 Does it fly high?"));
}

TEST_F(ImportFromWindow, TheOpenTextDialogOffersImportAndListsOwnBooks)
{
    m_folder.Write("program/Own Book/Lesson 001 Mine/01 Mine.sau", "audio");
    bool listedOwnBook = false;
    m_window->runTextDialog = [&listedOwnBook](ui::CSelectTextDlg& dialog) {
        listedOwnBook = dialog.bookBox()->findText(QStringLiteral("Own Book")) >= 0;
        QTest::mouseClick(dialog.button(1100), Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    bool importOpened = false;
    m_window->runImportDialog = [&importOpened](ui::ImportLessonDlg& dialog) {
        importOpened = dialog.bookBox()->findText(QStringLiteral("Own Book")) >= 0;
        return false;
    };
    const std::string before = m_window->settings().strFullPath;
    m_window->OpenText();
    EXPECT_TRUE(listedOwnBook);
    EXPECT_TRUE(importOpened);
    EXPECT_EQ(m_window->settings().strFullPath, before);
}

} // namespace
