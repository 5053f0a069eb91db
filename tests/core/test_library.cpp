#include "library/Library.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "TempFolder.h"

using namespace lectoria::library;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

TEST(BookNames, NineBooksInOrder)
{
    ASSERT_EQ(BookNames().size(), 9u);
    EXPECT_EQ(BookNames().front(), "New Concept English Book 1");
    EXPECT_EQ(BookNames()[4], "Primary English For China");
    EXPECT_EQ(BookNames().back(), "Some English Songs");
    EXPECT_EQ(BookList(), "New Concept English Book 1/New Concept English Book 2/New Concept English Book 3/"
                          "New Concept English Book 4/Primary English For China/Oxford Junior English/"
                          "Some English Movings/Some English News and Speakings/Some English Songs");
}

TEST(PathOperations, DeriveRootBookLessonAndNoteFile)
{
    const std::string songs = "/Lib/Some English Songs/Lesson 021 Never grow up";
    EXPECT_EQ(LibraryRootOf(songs), "/Lib/");
    EXPECT_EQ(BookNameOf(songs), "Some English Songs");
    EXPECT_EQ(LessonNameOf(songs), "Lesson 021 Never grow up");
    EXPECT_EQ(NoteFileOf("/Lib/Oxford Junior English/Lesson 12 Colours"),
              "/Lib/Oxford Junior English/Lesson 12 Colours/Oxford Junior English Lesson12.txt");
    EXPECT_EQ(NoteFileOf("/Lib/New Concept English Book 1/Lesson 001 Excuse me"),
              "/Lib/New Concept English Book 1/Lesson 001 Excuse me/New Concept English Book 1 Lesson001.txt");
    // No blank after the number: the lesson number is empty.
    EXPECT_EQ(NoteFileOf("/Lib/Some English Songs/Lesson 021"), "/Lib/Some English Songs/Lesson 021/Some English "
                                                                "Songs Lesson.txt");
    EXPECT_EQ(LibraryRootOf("relative"), "");
}

TEST(PathOperations, ProgramDirectoryHoldsThisTest)
{
    const std::string directory = ProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), kPathSeparator);
    EXPECT_TRUE(fs::exists(fs::path(directory) / "test_library"));
}

TEST(SentenceId, CutsTheCompactMarkId)
{
    EXPECT_EQ(SentenceId("New Concept English Book 1\\Lesson 003 Sorry, sir\\02 My coat and my umbrella please."),
              "New1Lesson003T02");
    EXPECT_EQ(SentenceId("Some English Songs\\Lesson 019 Moon river\\08 Wherever you're going"),
              "SomeSongsLesson019T08");
    EXPECT_EQ(SentenceId("Oxford Junior English\\Lesson 12 Colours\\03 Red"), "OxfordEnglishLesson12T03");
    EXPECT_EQ(SentenceId(""), "T");
}

struct TitleCase
{
    const char* title;
    int number;
    const char* text;
    bool starts;
    bool ends;
};

TEST(SentenceTitles, NumberTextAndSentenceBoundaries)
{
    const TitleCase cases[] = {
        {"05 Is it your coat?", 5, "Is it your coat?", true, true},
        {"03 When I got to the station,", 3, "When I got to the station,", true, false},
        {"04 the train had already left.", 4, "the train had already left.", false, true},
        {"07 'Twas late!", 7, "'Twas late!", true, true},
        {"08 he said 'yes'", 8, "he said 'yes'", false, true},
        {"12", 12, "", false, false},
        {"abc def", 0, "def", false, false},
        {"", 0, "", false, false},
        {"99999999999999999999 Huge.", 2147483647, "Huge.", true, true},
    };
    for (const TitleCase& c : cases) {
        EXPECT_EQ(SentenceNumber(c.title), c.number) << c.title;
        EXPECT_EQ(SentenceText(c.title), c.text) << c.title;
        EXPECT_EQ(StartsSentence(c.title), c.starts) << c.title;
        EXPECT_EQ(EndsSentence(c.title), c.ends) << c.title;
    }
}

TEST(SentenceTitles, QuestionMarkIsStoredAsCaret)
{
    EXPECT_EQ(TitleToFileName("05 Is it your coat?"), "05 Is it your coat^");
    EXPECT_EQ(FileNameToTitle("05 Is it your coat^"), "05 Is it your coat?");
}

TEST(FindSentenceItem, FirstWithTheNumberElseTheLast)
{
    const std::vector<std::string> items = {"01 One.", "02 Two", "02 again.", "04 Four."};
    EXPECT_EQ(FindSentenceItem(items, 2), "02 Two");
    EXPECT_EQ(FindSentenceItem(items, 3), "04 Four.");
    EXPECT_EQ(FindSentenceItem({}, 1), "");
}

TEST(SentenceAudioPath, TextAndTopicMode)
{
    EXPECT_EQ(SentenceAudioPath("/Lib/Book/Lesson 001 A", false, "05 Is it your coat?", ""),
              "/Lib/Book/Lesson 001 A/05 Is it your coat^.sau");
    EXPECT_EQ(SentenceAudioPath("/Lib/Book/Lesson 001 A", true, "05 Is it your coat?",
                                "Other Book\\Lesson 002 B\\05 Is it your coat?"),
              "/Lib/Other Book/Lesson 002 B/05 Is it your coat^.sau");
}

TEST(FillLessonList, ListsTitlesInReadingOrderWithQuestionMarksRestored)
{
    TempFolder folder;
    const fs::path lesson = folder.path() / "New Concept English Book 1" / "Lesson 001 Excuse me";
    for (const char* name : {"10 Thank you..sau", "02 Yes^.sau", "01 Excuse me!.sau", "05 Is it your coat^.sau",
                             "03 notes.txt", "04 UPPER.SAU", "04 lower.sau"}) {
        folder.Write(lesson.lexically_relative(folder.path()) / name);
    }
    fs::create_directories(lesson / "06 folder.sau");
    const std::vector<std::string> expected = {"01 Excuse me!",       "02 Yes?",      "04 lower", "04 UPPER",
                                               "05 Is it your coat?", "10 Thank you."};
    EXPECT_EQ(FillLessonList(lesson.string()), expected);

    const std::string audio = SentenceAudioPath(lesson.string(), false, expected[4], "");
    EXPECT_TRUE(fs::exists(audio)) << audio;
}

TEST(FillLessonList, MissingOrEmptyFolderGivesAnEmptyList)
{
    TempFolder folder;
    EXPECT_TRUE(FillLessonList((folder.path() / "missing").string()).empty());
    EXPECT_TRUE(FillLessonList(folder.path().string()).empty());
}

TEST(LessonFolders, OnlyLessonFoldersWithoutDotsInOrder)
{
    TempFolder folder;
    for (const char* name : {"Lesson 010 Ten", "Lesson 002 Two", "lesson 003 three", "Lesson.old", "Notes"}) {
        fs::create_directories(folder.path() / name);
    }
    folder.Write("Lesson 004 a file");
    EXPECT_EQ(LessonFolders(folder.path().string()),
              (std::vector<std::string>{"Lesson 002 Two", "lesson 003 three", "Lesson 010 Ten"}));
    EXPECT_TRUE(LessonFolders((folder.path() / "missing").string()).empty());
}

TEST(LessThanIgnoringCase, ComparesLikeAWindowsListing)
{
    EXPECT_TRUE(LessThanIgnoringCase("abc", "ABD"));
    EXPECT_FALSE(LessThanIgnoringCase("ABC", "abc"));
    // Letters are compared upper-cased, so they sort before '_' and '^'.
    EXPECT_TRUE(LessThanIgnoringCase("05 a", "05 _"));
    EXPECT_TRUE(LessThanIgnoringCase("05 Is it", "05 Is it^"));
}

} // namespace
