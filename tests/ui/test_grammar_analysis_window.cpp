// "语法分析" as a learner uses it: from the key or the current-sentence pane's menu, on the sentence
// being read, and on to the topic dialog.
#include <filesystem>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThreadPool>
#include <QTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "CParlivoDlg.h"
#include "CSelectSubjectDlg.h"
#include "FakeMediaPlayer.h"
#include "GrammarAnalysisDlg.h"
#include "MainWindowTesting.h"
#include "QSettingsProfile.h"
#include "TempFolder.h"
#include "WindowCommands.h"
#include "library/Library.h"

using namespace lectoria;
using lectoria::test::FakeMediaPlayer;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

const char* const kBook = "New Concept English Book 1";
const char* const kNotes = "(1)mine\r\n(2)\r\n";

class AnalysisWindowTest : public testing::Test
{
protected:
    AnalysisWindowTest()
    {
        for (const char* title : {"01 I have finished my homework.", "02 the of and the to of."}) {
            m_folder.Write(fs::path("program") / kBook / "Lesson 001 A" / (std::string(title) + ".sau"), "audio");
        }
        m_folder.Write(NoteFile(), kNotes);
        m_folder.Write("profile.ini", "[kelvaro]\nstrFullPath=" + LessonPath() + "\n");
        m_window = test::OpenMainWindow(m_folder.path(), &m_player, m_profile,
                                        (m_folder.path() / "program").string() + "/", QSize(900, 600));
        m_window->RestoreLastState();
        QTest::keyClick(m_window->sentenceList(), Qt::Key_F3); // paused, so the panes stay
        m_window->runAnalysisDialog = [this](ui::GrammarAnalysisDlg& dialog) {
            dialog.show();
            EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.findingsView()->topLevelItemCount() > 0; }, 30000));
            return m_answer ? m_answer(dialog) : false;
        };
    }

    std::string LessonPath() const { return (m_folder.path() / "program" / kBook / "Lesson 001 A").string(); }
    fs::path NoteFile() const
    {
        return fs::path("program") / kBook / "Lesson 001 A" / (std::string(kBook) + " Lesson001.txt");
    }

    /// The entries of one group of the findings ("句法分析" or "词表规则"): topic and words.
    static std::vector<std::pair<QString, QString>> Group(const ui::GrammarAnalysisDlg& dialog, const QString& title)
    {
        std::vector<std::pair<QString, QString>> entries;
        for (int g = 0; g < dialog.findingsView()->topLevelItemCount(); ++g) {
            const QTreeWidgetItem* group = dialog.findingsView()->topLevelItem(g);
            if (group->text(0) != title) {
                continue;
            }
            for (int i = 0; i < group->childCount(); ++i) {
                entries.emplace_back(group->child(i)->text(0), group->child(i)->text(1));
            }
        }
        return entries;
    }

    static QTreeWidgetItem* Entry(const ui::GrammarAnalysisDlg& dialog, const QString& topic)
    {
        const QList<QTreeWidgetItem*> found =
            dialog.findingsView()->findItems(topic, Qt::MatchExactly | Qt::MatchRecursive, 0);
        return found.isEmpty() ? nullptr : found.front();
    }

    /// The sentence's words that are marked, joined by '|'.
    static QString Marked(const ui::GrammarAnalysisDlg& dialog)
    {
        QStringList words;
        for (const QTextEdit::ExtraSelection& mark : dialog.sentenceView()->extraSelections()) {
            words << mark.cursor.selectedText();
        }
        return words.join(QLatin1Char('|'));
    }

    TempFolder m_folder;
    FakeMediaPlayer m_player;
    std::unique_ptr<platform::QSettingsProfile> m_profile;
    std::unique_ptr<ui::CParlivoDlg> m_window;
    std::function<bool(ui::GrammarAnalysisDlg&)> m_answer;
};

TEST_F(AnalysisWindowTest, TheKeyShowsTheParsersFindingsAndTheRulesTopicsWithTheirWordsMarked)
{
    bool shown = false;
    m_answer = [&shown](ui::GrammarAnalysisDlg& dialog) {
        shown = true;
        EXPECT_EQ(dialog.sentenceView()->toPlainText(), QStringLiteral("I have finished my homework."));
        const auto parser = Group(dialog, QStringLiteral("句法分析"));
        EXPECT_NE(std::find(parser.begin(), parser.end(),
                            std::make_pair(QStringLiteral("时态+现在完成时"), QStringLiteral("have finished"))),
                  parser.end());
        EXPECT_FALSE(Group(dialog, QStringLiteral("词表规则")).empty());

        dialog.findingsView()->setCurrentItem(Entry(dialog, QStringLiteral("时态+现在完成时")));
        EXPECT_EQ(Marked(dialog), QStringLiteral("have|finished"));
        EXPECT_TRUE(dialog.searchButton()->isEnabled());
        // A rule topic marks the words its rule matched.
        QTreeWidgetItem* rule = Entry(dialog, QStringLiteral("代词+主格人称代词+i"));
        EXPECT_NE(rule, nullptr);
        dialog.findingsView()->setCurrentItem(rule);
        EXPECT_EQ(Marked(dialog), QStringLiteral("I"));
        return false;
    };
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F9);
    EXPECT_TRUE(shown);
    // The learner's note is theirs: the analysis neither shows in it nor writes it.
    EXPECT_EQ(m_window->grammarPane()->toPlainText(), QStringLiteral("mine"));
    EXPECT_EQ(ReadBytes(m_folder.path() / NoteFile()), kNotes);
}

TEST_F(AnalysisWindowTest, AChosenTopicOpensTheTopicDialogWithIt)
{
    m_answer = [](ui::GrammarAnalysisDlg& dialog) {
        dialog.findingsView()->setCurrentItem(Entry(dialog, QStringLiteral("时态+现在完成时")));
        QTest::mouseClick(dialog.searchButton(), Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    QString parent;
    QString child;
    bool byParser = false;
    QStringList books;
    m_window->runTopicDialog = [&](ui::CSelectSubjectDlg& dialog) {
        parent = dialog.parentBox()->currentText();
        child = dialog.childBox()->currentText();
        byParser = dialog.byParserButton()->isChecked();
        for (const QListWidgetItem* item : dialog.booksBox()->selectedItems()) {
            books << item->text();
        }
        return false;
    };
    const std::string storedBefore = m_window->settings().strSubjectGrammar;
    // From the current-sentence pane's menu, as a learner finds it.
    QAction* analyse = m_window->commands().action(ui::kGrammarAnalysisCommand);
    ASSERT_NE(analyse, nullptr);
    EXPECT_EQ(analyse->text(), QStringLiteral("语法分析(&A)\tF9"));
    analyse->trigger();
    EXPECT_EQ(parent, QStringLiteral("时态"));
    EXPECT_EQ(child, QStringLiteral("现在完成时"));
    EXPECT_TRUE(byParser) << "the parser found it, so the parser searches for it";
    EXPECT_EQ(books, QStringList{QString::fromUtf8(kBook)}) << "no books were chosen yet: the sentence's own";
    EXPECT_EQ(m_window->settings().strSubjectGrammar, storedBefore) << "a cancelled topic dialog changes nothing";
}

TEST_F(AnalysisWindowTest, ASentenceTheParserCannotJoinShowsTheRulesAndSaysSo)
{
    QTest::keyClick(m_window->sentenceList(), Qt::Key_PageDown);
    bool shown = false;
    m_answer = [&shown](ui::GrammarAnalysisDlg& dialog) {
        shown = true;
        EXPECT_EQ(dialog.sentenceView()->toPlainText(), QStringLiteral("the of and the to of."));
        EXPECT_TRUE(dialog.parserLine()->text().contains(QStringLiteral("未能完整分析")))
            << dialog.parserLine()->text().toStdString();
        EXPECT_TRUE(Group(dialog, QStringLiteral("句法分析")).empty());
        EXPECT_FALSE(Group(dialog, QStringLiteral("词表规则")).empty());
        return false;
    };
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F9);
    EXPECT_TRUE(shown);
}

TEST(GrammarAnalysisDialog, ClosingWhileItAnalysesIsSafe)
{
    for (int i = 0; i < 3; ++i) {
        auto dialog = std::make_unique<ui::GrammarAnalysisDlg>(QStringLiteral("The house is being built."));
        dialog->show();
        dialog.reset();
    }
    // The abandoned analyses end in the background, and what they post finds no dialog to reach.
    EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(60000));
    QApplication::processEvents();
}

} // namespace
