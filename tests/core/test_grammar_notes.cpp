#include "library/GrammarNotes.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "Gb18030.h"
#include "TempFolder.h"
#include "library/Library.h"

using namespace lectoria::library;
using lectoria::test::Gb18030;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

class GrammarNotesTest : public testing::Test
{
protected:
    GrammarNotesTest()
    {
        m_lesson = m_folder.path() / "Oxford Junior English" / "Lesson 12 Colours";
        for (const char* title : {"01 Red.sau", "02 Blue.sau", "03 Green.sau", "04 Pink.sau", "05 Grey.sau"}) {
            m_folder.Write(fs::path("Oxford Junior English") / "Lesson 12 Colours" / title);
        }
    }
    std::string Lesson() const { return m_lesson.string(); }
    std::string NoteFile() const { return NoteFileOf(Lesson()); }

    TempFolder m_folder;
    fs::path m_lesson;
};

TEST_F(GrammarNotesTest, MissingAndEmptyLinesGiveTheirNumber)
{
    EXPECT_EQ(LoadLessonNotes(NoteFile(), 3), (std::vector<std::string>{"(1)", "(2)", "(3)"}));
    m_folder.Write(fs::path(NoteFile()).lexically_relative(m_folder.path()), Gb18030("(1)颜色\r\n\r\n(3)形容词\r\n"));
    EXPECT_EQ(LoadLessonNotes(NoteFile(), 5), (std::vector<std::string>{"(1)颜色", "(2)", "(3)形容词", "(4)", "(5)"}));
    EXPECT_EQ(LoadNote(NoteFile(), 3), "(3)形容词");
    EXPECT_EQ(LoadNote(NoteFile(), 9), "(9)");
}

TEST_F(GrammarNotesTest, TextModeRewritesTheWholeFileInGb18030WithCrLf)
{
    std::vector<std::string> notes = LoadLessonNotes(NoteFile(), 5);
    notes[3] = "(4)粉红色 pink";
    ASSERT_TRUE(SaveLessonNotes(Lesson(), notes));
    EXPECT_EQ(ReadBytes(NoteFile()), Gb18030("(1)\r\n(2)\r\n(3)\r\n(4)粉红色 pink\r\n(5)\r\n"));
    EXPECT_EQ(LoadLessonNotes(NoteFile(), 5), notes);
}

TEST_F(GrammarNotesTest, NotesOfSentencesWithoutAudioSurviveARewrite)
{
    // Seven lines for a lesson of five files: sentences 6 and 7 lost their audio, not their notes.
    m_folder.Write(fs::path(NoteFile()).lexically_relative(m_folder.path()),
                   Gb18030("(1)\r\n(2)\r\n(3)\r\n(4)\r\n(5)\r\n(6)六\r\n(7)七\r\n"));
    std::vector<std::string> notes = LoadLessonNotes(NoteFile(), 5);
    notes[0] = "(1)一";
    ASSERT_TRUE(SaveLessonNotes(Lesson(), notes));
    EXPECT_EQ(LoadLessonNotes(NoteFile(), 7),
              (std::vector<std::string>{"(1)一", "(2)", "(3)", "(4)", "(5)", "(6)六", "(7)七"}));

    const std::vector<TopicNote> items = {
        {"02 Blue.", "Oxford Junior English\\Lesson 12 Colours\\02 Blue.", "(2)蓝", true},
    };
    EXPECT_TRUE(SaveTopicNotes(Lesson(), items).empty());
    EXPECT_EQ(LoadLessonNotes(NoteFile(), 7),
              (std::vector<std::string>{"(1)一", "(2)蓝", "(3)", "(4)", "(5)", "(6)六", "(7)七"}));
}

TEST_F(GrammarNotesTest, ALineBreakInsideANoteMovesNoOtherNote)
{
    std::vector<std::string> notes = {"(1)第一行\n第二行", "(2)two", "(3)three\r\nmore", "(4)", "(5)five"};
    ASSERT_TRUE(SaveLessonNotes(Lesson(), notes));
    const std::string bytes = ReadBytes(NoteFile());
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 5);
    notes[2] = "(3)three\nmore";
    EXPECT_EQ(LoadLessonNotes(NoteFile(), 5), notes);
}

TEST_F(GrammarNotesTest, TopicModeCreatesAMissingFileWithTheNoteInPlace)
{
    const std::vector<TopicNote> items = {
        {"04 Pink.", "Oxford Junior English\\Lesson 12 Colours\\04 Pink.", "(4)粉红", true},
        {"02 Blue.", "Oxford Junior English\\Lesson 12 Colours\\02 Blue.", "(2)unchanged", false},
    };
    EXPECT_TRUE(SaveTopicNotes(Lesson(), items).empty());
    EXPECT_EQ(LoadLessonNotes(NoteFile(), 5), (std::vector<std::string>{"(1)", "(2)", "(3)", "(4)粉红", "(5)"}));
}

TEST_F(GrammarNotesTest, TopicModeCapsTheNumberAtTheLessonsSentences)
{
    m_folder.Write(fs::path(NoteFile()).lexically_relative(m_folder.path()), Gb18030("(1)one\r\n(2)two\r\n"));
    const std::vector<TopicNote> items = {
        {"12 Far away.", "Oxford Junior English\\Lesson 12 Colours\\12 Far away.", "(12)last", true},
    };
    EXPECT_TRUE(SaveTopicNotes(Lesson(), items).empty());
    // Lines past the end of the old file come back empty and read as their number.
    EXPECT_EQ(LoadLessonNotes(NoteFile(), 5), (std::vector<std::string>{"(1)one", "(2)two", "(3)", "(4)", "(12)last"}));
}

TEST_F(GrammarNotesTest, TopicModeTitleWithoutNumberGivesTheMessage)
{
    m_folder.Write(fs::path(NoteFile()).lexically_relative(m_folder.path()), Gb18030("(1)keep\r\n"));
    const std::vector<TopicNote> items = {
        {"Red.", "Oxford Junior English\\Lesson 12 Colours\\Red.", "(0)lost", true},
    };
    const std::vector<std::string> messages = SaveTopicNotes(Lesson(), items);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "nNumofSen-1=-1,nNumofSau=5" + Lesson());
    EXPECT_EQ(LoadNote(NoteFile(), 1), "(1)keep");
}

} // namespace
