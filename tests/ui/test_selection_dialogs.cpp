#include "CSelectSubjectDlg.h"
#include "CSelectTextDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "library/Library.h"

using namespace lectoria;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

/// A small library: two lessons in the first book, one in the second, an empty third book.
class LibraryFixture : public testing::Test
{
protected:
    LibraryFixture()
    {
        const fs::path one = fs::path("New Concept English Book 1");
        for (const char* title : {"01 A^.sau", "02 B.sau", "03 C has gone.sau", "04 D.sau", "05 E.sau"}) {
            m_folder.Write(one / "Lesson 001 First" / title);
        }
        for (const char* title : {"01 He has seen it..sau", "02 No.sau"}) {
            m_folder.Write(one / "Lesson 002 Second" / title);
        }
        m_folder.Write(one / "Lesson 001.txt");
        m_folder.Write(fs::path("New Concept English Book 2") / "Lesson 005 Fifth" / "01 She has left..sau");
        fs::create_directories(m_folder.path() / "New Concept English Book 3");
    }
    std::string Lesson(const std::string& book, const std::string& lesson) const
    {
        return (m_folder.path() / book / lesson).string();
    }
    static QStringList Texts(const QListWidget* list)
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row) {
            texts << list->item(row)->text();
        }
        return texts;
    }
    static QStringList Texts(const QListView* list)
    {
        QStringList texts;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            texts << list->model()->index(row, 0).data().toString();
        }
        return texts;
    }
    static void Press(QWidget* target, Qt::Key key) { QTest::keyClick(target, key); }

    TempFolder m_folder;
};

TEST_F(LibraryFixture, TextDialogListsBooksLessonsAndSentences)
{
    ui::CSelectTextDlg dialog(Lesson("New Concept English Book 1", "Lesson 001 First"), library::BookList());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Lectoria课文选择"));
    EXPECT_EQ(dialog.bookBox()->count(), 9);
    EXPECT_EQ(dialog.bookBox()->currentText(), QStringLiteral("New Concept English Book 1"));
    EXPECT_EQ(dialog.lessonBox()->count(), 2) << "Lesson 001.txt is not a lesson";
    EXPECT_EQ(dialog.lessonBox()->currentText(), QStringLiteral("Lesson 001 First"));
    EXPECT_EQ(Texts(dialog.sentenceList()),
              (QStringList{QStringLiteral("01 A?"), QStringLiteral("02 B"), QStringLiteral("03 C has gone"),
                           QStringLiteral("04 D"), QStringLiteral("05 E")}));

    dialog.lessonBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.strFullPath(), Lesson("New Concept English Book 1", "Lesson 002 Second"));
    EXPECT_EQ(dialog.sentenceList()->count(), 2);

    dialog.bookBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.strFullPath(), Lesson("New Concept English Book 2", "Lesson 005 Fifth"));
    EXPECT_EQ(Texts(dialog.sentenceList()), QStringList{QStringLiteral("01 She has left.")});
}

TEST_F(LibraryFixture, TextDialogBookWithoutLessonsCannotBeConfirmed)
{
    ui::CSelectTextDlg dialog(Lesson("New Concept English Book 1", "Lesson 001 First"), library::BookList());
    dialog.bookBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog.lessonBox()->count(), 0);
    EXPECT_EQ(dialog.sentenceList()->count(), 0);
    dialog.show();
    QTest::mouseClick(dialog.button(1091), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(LibraryFixture, TextDialogKeepsItsLibraryRootAfterABookWithoutLessonsOrAMissingBook)
{
    ui::CSelectTextDlg dialog(Lesson("New Concept English Book 1", "Lesson 001 First"), library::BookList());
    QStringList told;
    dialog.tellUser = [&told](const QString& text) { told << text; };
    // Book 3 has no lessons, books 4 to 9 are not in the library at all; each choice is followed
    // by one of a real book, which must list its lessons again.
    const int detours[] = {2, 2, 4, 2, 8};
    for (const int detour : detours) {
        dialog.bookBox()->setCurrentIndex(detour);
        EXPECT_EQ(dialog.lessonBox()->count(), 0) << detour;
        EXPECT_EQ(dialog.sentenceList()->count(), 0) << detour;
        dialog.bookBox()->setCurrentIndex(1);
        EXPECT_EQ(dialog.lessonBox()->currentText(), QStringLiteral("Lesson 005 Fifth")) << "after book " << detour;
        EXPECT_EQ(dialog.strFullPath(), Lesson("New Concept English Book 2", "Lesson 005 Fifth"));
        EXPECT_EQ(Texts(dialog.sentenceList()), QStringList{QStringLiteral("01 She has left.")});
    }
    // Only the missing books were reported, each by its name and folder.
    ASSERT_EQ(told.size(), 2);
    const QString missing =
        QString::fromStdString((m_folder.path() / dialog.bookBox()->itemText(4).toStdString()).string());
    EXPECT_TRUE(told[0].contains(QStringLiteral("课文库中没有这本课本"))) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(missing)) << told[0].toStdString();

    // A lesson chosen after the detours belongs to the same library.
    dialog.bookBox()->setCurrentIndex(0);
    dialog.lessonBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.strFullPath(), Lesson("New Concept English Book 1", "Lesson 002 Second"));
    dialog.show();
    QTest::mouseClick(dialog.button(1030), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(LibraryFixture, TextDialogConfirmHandsBackTheLessonAndHowToStart)
{
    const std::string lesson = Lesson("New Concept English Book 1", "Lesson 001 First");
    ui::CSelectTextDlg dialog(lesson, library::BookList());
    dialog.show();
    QTest::mouseClick(dialog.button(1091), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.selectAndRead());
    EXPECT_EQ(dialog.strFullPath(), lesson);

    const std::string second = Lesson("New Concept English Book 1", "Lesson 002 Second");
    ui::CSelectTextDlg other(second, library::BookList());
    other.show();
    QTest::mouseClick(other.button(1030), Qt::LeftButton);
    EXPECT_FALSE(other.selectAndRead());
    EXPECT_EQ(other.strFullPath(), second);
}

TEST_F(LibraryFixture, TextDialogSetFolderAndKeys)
{
    ui::CSelectTextDlg dialog(Lesson("Nowhere", "Lesson 1 x"), library::BookList());
    EXPECT_EQ(dialog.lessonBox()->count(), 0);
    EXPECT_EQ(dialog.bookBox()->currentIndex(), -1);
    dialog.pickFolder = [this] {
        return QString::fromStdString(Lesson("New Concept English Book 2", "Lesson 005 Fifth"));
    };
    dialog.show();
    QTest::mouseClick(dialog.button(1099), Qt::LeftButton);
    EXPECT_EQ(dialog.bookBox()->currentText(), QStringLiteral("New Concept English Book 2"));
    EXPECT_EQ(dialog.sentenceList()->count(), 1);
    Press(&dialog, Qt::Key_Escape);
    Press(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.button(1031), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

ui::TopicSearchInput Input(const std::string& root, const std::string& books, const std::string& grammar)
{
    ui::TopicSearchInput input;
    input.strFullPath = root + "/New Concept English Book 1/Lesson 001 First";
    input.bookList = library::BookList();
    input.strSubjectBook = books;
    input.strSubjectWord = "+";
    input.strSubjectGrammar = grammar;
    return input;
}

TEST_F(LibraryFixture, TopicDialogOpensWithTheLastChoice)
{
    ui::TopicSearchInput input = Input(
        m_folder.path().string(), "New Concept English Book 1/New Concept English Book 3", "代词+主格人称代词+she");
    input.strSubjectWord = "Cat/dog+bird";
    ui::CSelectSubjectDlg dialog(input);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Lectoria主题选择"));
    QStringList selected;
    for (QListWidgetItem* item : dialog.booksBox()->selectedItems()) {
        selected << item->text();
    }
    EXPECT_EQ(selected, (QStringList{QStringLiteral("New Concept English Book 1"),
                                     QStringLiteral("New Concept English Book 3")}));
    EXPECT_EQ(dialog.allWordsEdit()->text(), QStringLiteral("Cat/dog"));
    EXPECT_EQ(dialog.anyWordsEdit()->text(), QStringLiteral("bird"));
    EXPECT_EQ(dialog.parentBox()->currentText(), QStringLiteral("代词"));
    EXPECT_EQ(dialog.childBox()->currentText(), QStringLiteral("主格人称代词"));
    EXPECT_EQ(dialog.grandchildBox()->currentText(), QStringLiteral("she"));
    EXPECT_TRUE(dialog.markBox()->isHidden());

    // A two-part selection leaves the grandchild box empty.
    ui::CSelectSubjectDlg twoParts(Input(m_folder.path().string(), "", "时态+现在完成时"));
    EXPECT_EQ(twoParts.childBox()->currentText(), QStringLiteral("现在完成时"));
    EXPECT_EQ(twoParts.grandchildBox()->count(), 0);

    // A new parent selects its first real child and refills the grandchildren.
    twoParts.parentBox()->setCurrentIndex(twoParts.parentBox()->findText(QStringLiteral("代词")));
    EXPECT_EQ(twoParts.childBox()->currentText(), QStringLiteral("主格人称代词"));
    EXPECT_EQ(twoParts.grandchildBox()->currentText(), QStringLiteral("所有"));
}

TEST_F(LibraryFixture, TopicDialogWithoutBooksShowsTheReminder)
{
    ui::CSelectSubjectDlg dialog(Input(m_folder.path().string(), "", "所有+所有+所有"));
    dialog.show();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
                shown = box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            }
        }
    });
    dialog.RunSearch();
    EXPECT_EQ(shown, QStringLiteral("Lectoria课本选择提醒|请选择课本,可多选,方法是鼠标左键单击相应课本项目."));
    EXPECT_EQ(dialog.resultsBox()->model()->rowCount(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(LibraryFixture, TopicDialogSearchesAndHandsBackResults)
{
    ui::CSelectSubjectDlg dialog(
        Input(m_folder.path().string(), "New Concept English Book 1/New Concept English Book 2", "时态+现在完成时"));
    dialog.show();
    QSignalSpy finished(&dialog, &ui::CSelectSubjectDlg::searchFinished);
    QTest::mouseClick(dialog.button(1111), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(Texts(dialog.resultsBox()),
              (QStringList{QStringLiteral("New Concept English Book 1\\Lesson 001 First\\03 C has gone"),
                           QStringLiteral("New Concept English Book 1\\Lesson 002 Second\\01 He has seen it."),
                           QStringLiteral("New Concept English Book 2\\Lesson 005 Fifth\\01 She has left.")}));
    Press(&dialog, Qt::Key_Return);
    Press(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.button(1083), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.selectAndRead());
    EXPECT_EQ(dialog.strSubjectBook(), "New Concept English Book 1/New Concept English Book 2");
    EXPECT_EQ(dialog.strSubjectWord(), "+");
    EXPECT_EQ(dialog.strSubjectGrammar(), "时态+现在完成时");
    ASSERT_EQ(dialog.resultItems().size(), 3u);
    EXPECT_FALSE(dialog.highlightWords()[0].empty());
}

TEST_F(LibraryFixture, TopicDialogNamesTheBooksItCouldNotReadAndKeepsTheRest)
{
    // Book 4 is one of the books every library offers, but this library does not hold it.
    ui::CSelectSubjectDlg dialog(
        Input(m_folder.path().string(), "New Concept English Book 2/New Concept English Book 4", "时态+现在完成时"));
    dialog.show();
    QSignalSpy finished(&dialog, &ui::CSelectSubjectDlg::searchFinished);
    dialog.RunSearch();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(Texts(dialog.resultsBox()),
              (QStringList{QStringLiteral("New Concept English Book 2\\Lesson 005 Fifth\\01 She has left.")}));
    EXPECT_TRUE(dialog.problemLine()->isVisible());
    EXPECT_EQ(dialog.problemLine()->text().toStdString(),
              "找不到课本文件夹: " + (m_folder.path() / "New Concept English Book 4").string());

    // A search that reads everything clears the message.
    dialog.booksBox()
        ->findItems(QStringLiteral("New Concept English Book 4"), Qt::MatchExactly)
        .front()
        ->setSelected(false);
    dialog.RunSearch();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(dialog.problemLine()->isVisible());
    EXPECT_EQ(Texts(dialog.resultsBox()).size(), 1);
}

/// The count a topic box shows beside an entry, or -1 when it shows none.
long long CountBeside(const QComboBox* box, const QString& name)
{
    const QVariant count = box->itemData(box->findText(name), ui::CSelectSubjectDlg::kCountRole);
    return count.isValid() ? static_cast<long long>(count.toULongLong()) : -1;
}

TEST_F(LibraryFixture, TopicDialogShowsEveryTopicsCountForTheChosenBooksAndCountsAgainWhenALessonChanges)
{
    ui::CSelectSubjectDlg dialog(Input(m_folder.path().string(), "New Concept English Book 1", "时态+现在完成时"));
    QSignalSpy shown(&dialog, &ui::CSelectSubjectDlg::countsShown);
    dialog.show();
    ASSERT_TRUE(shown.wait(20000));
    // The same numbers a search finds: "03 C has gone" and "01 He has seen it.".
    EXPECT_EQ(CountBeside(dialog.childBox(), QStringLiteral("现在完成时")), 2);
    EXPECT_EQ(CountBeside(dialog.childBox(), QStringLiteral("过去完成时")), 0);
    EXPECT_EQ(CountBeside(dialog.childBox(), QStringLiteral("所有")), 7);
    EXPECT_EQ(CountBeside(dialog.parentBox(), QStringLiteral("时态")), -1)
        << "a parent's count would be every sentence";
    EXPECT_EQ(dialog.childBox()->currentText(), QStringLiteral("现在完成时")) << "the entry's text stays the name";
    EXPECT_TRUE(dialog.countLine()->text().contains(QStringLiteral("2 句")));

    // "所有" everywhere is every sentence.
    dialog.parentBox()->setCurrentIndex(dialog.parentBox()->findText(QStringLiteral("所有")));
    EXPECT_TRUE(dialog.countLine()->text().contains(QStringLiteral("7 句")))
        << dialog.countLine()->text().toStdString();

    // Another parent's children get their counts at once, from the same count.
    dialog.parentBox()->setCurrentIndex(dialog.parentBox()->findText(QStringLiteral("句型")));
    EXPECT_GE(CountBeside(dialog.childBox(), QStringLiteral("一般疑问句")), 0);

    // Choosing a second book counts both.
    dialog.parentBox()->setCurrentIndex(dialog.parentBox()->findText(QStringLiteral("时态")));
    dialog.booksBox()
        ->findItems(QStringLiteral("New Concept English Book 2"), Qt::MatchExactly)
        .front()
        ->setSelected(true);
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(CountBeside(dialog.childBox(), QStringLiteral("现在完成时")), 3);

    // A sentence added to a lesson is counted when the dialog opens next.
    m_folder.Write(fs::path("New Concept English Book 2") / "Lesson 005 Fifth" / "02 We have won..sau");
    ui::CSelectSubjectDlg again(
        Input(m_folder.path().string(), "New Concept English Book 1/New Concept English Book 2", "时态+现在完成时"));
    QSignalSpy shownAgain(&again, &ui::CSelectSubjectDlg::countsShown);
    again.show();
    ASSERT_TRUE(shownAgain.wait(20000));
    EXPECT_EQ(CountBeside(again.childBox(), QStringLiteral("现在完成时")), 4);

    // No book chosen: no counts and no line.
    again.booksBox()->clearSelection();
    QTest::qWait(400);
    EXPECT_EQ(CountBeside(again.childBox(), QStringLiteral("现在完成时")), -1);
    EXPECT_FALSE(again.countLine()->isVisible());
}

TEST_F(LibraryFixture, TopicDialogSearchesByTheParserWhatTheRulesMissAndKeepsTheChoice)
{
    m_folder.Write(fs::path("New Concept English Book 2") / "Lesson 005 Fifth" / "02 I have finished my homework..sau");
    ui::TopicSearchInput input = Input(m_folder.path().string(), "New Concept English Book 2", "时态+现在完成时");
    input.isSearchByParser = true;
    ui::CSelectSubjectDlg dialog(input);
    QSignalSpy ready(&dialog, &ui::CSelectSubjectDlg::parsesReady);
    QSignalSpy finished(&dialog, &ui::CSelectSubjectDlg::searchFinished);
    dialog.show();
    EXPECT_TRUE(dialog.byParserButton()->isChecked());
    ASSERT_TRUE(ready.wait(60000)) << dialog.parseLine()->text().toStdString();
    EXPECT_TRUE(dialog.parseLine()->isVisible());
    EXPECT_EQ(dialog.parseLine()->text(), QStringLiteral("所选课本的句子都已完成句法分析"));
    // The counts beside the topics come from the rules, and the line says so.
    EXPECT_TRUE(QTest::qWaitFor(
        [&dialog] { return dialog.countLine()->text().contains(QStringLiteral("按词表规则")); }, 20000));

    dialog.RunSearch();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(
        Texts(dialog.resultsBox()),
        (QStringList{QStringLiteral("New Concept English Book 2\\Lesson 005 Fifth\\01 She has left."),
                     QStringLiteral("New Concept English Book 2\\Lesson 005 Fifth\\02 I have finished my homework.")}));

    // The word-list rule for the tense does not see "have finished".
    QTest::mouseClick(dialog.byRulesButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.parseLine()->isVisible());
    dialog.RunSearch();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(Texts(dialog.resultsBox()),
              (QStringList{QStringLiteral("New Concept English Book 2\\Lesson 005 Fifth\\01 She has left.")}));
    QTest::mouseClick(dialog.button(1104), Qt::LeftButton);
    EXPECT_FALSE(dialog.isSearchByParser());
}

TEST_F(LibraryFixture, TopicDialogExitDuringASearchLeavesNoResult)
{
    ui::CSelectSubjectDlg dialog(Input(m_folder.path().string(), "New Concept English Book 1", "所有+所有+所有"));
    dialog.show();
    dialog.RunSearch();
    QTest::mouseClick(dialog.button(1084), Qt::LeftButton);
    EXPECT_FALSE(dialog.searching());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

} // namespace
