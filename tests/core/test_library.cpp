#include "library/Library.h"

#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "Gb18030.h"
#include "OtherUser.h"
#include "TempFolder.h"
#include "library/FileNames.h"

using namespace lectoria::library;
using lectoria::test::Gb18030;
using lectoria::test::RunAsUnprivilegedUser;
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

TEST(PathOperations, TrailingSeparatorsAndShortPaths)
{
    struct Case
    {
        const char* lesson;
        const char* root;
        const char* book;
        const char* name;
    };
    const Case cases[] = {
        // A folder picker may hand the lesson back with a separator at its end.
        {"/Lib/Songs/Lesson 021 Never/", "/Lib/", "Songs", "Lesson 021 Never"},
        {"/Lib/Songs/Lesson 021 Never//", "/Lib/", "Songs", "Lesson 021 Never"},
        {"Lib/Songs/Lesson 021 Never", "Lib/", "Songs", "Lesson 021 Never"},
        {"/Songs/Lesson 021 Never", "/", "Songs", "Lesson 021 Never"},
        // Too short to hold a library root: none, never the file system's root.
        {"/Lesson 021 Never", "", "", "Lesson 021 Never"},
        {"Songs/Lesson 021 Never", "", "Songs", "Lesson 021 Never"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LibraryRootOf(c.lesson), c.root) << c.lesson;
        EXPECT_EQ(BookNameOf(c.lesson), c.book) << c.lesson;
        EXPECT_EQ(LessonNameOf(c.lesson), c.name) << c.lesson;
    }
    EXPECT_EQ(NoteFileOf("/Lib/Songs/Lesson 021 Never/"), "/Lib/Songs/Lesson 021 Never/Songs Lesson021.txt");
    EXPECT_EQ(SentenceAudioPath("/Lib/Songs/Lesson 021 Never/", false, "01 Go?", ""),
              "/Lib/Songs/Lesson 021 Never/01 Go^.sau");
    EXPECT_EQ(SentenceAudioPath("/Lib/Songs/Lesson 021 Never/", true, "", "Other\\Lesson 002 B\\01 Go?"),
              "/Lib/Other/Lesson 002 B/01 Go^.sau");
}

TEST(PathOperations, ProgramDirectoryHoldsThisTest)
{
    int argc = 1;
    char name[] = "test_library";
    char* argv[] = {name, nullptr};
    {
        const QCoreApplication application(argc, argv);
        const std::string directory = ProgramDirectory();
        ASSERT_FALSE(directory.empty());
        EXPECT_EQ(directory.back(), kPathSeparator);
        EXPECT_TRUE(fs::exists(fs::path(directory) / "test_library")) << directory;
    }
    // Without an application object Qt knows no program folder; the result must not become the root.
    EXPECT_EQ(fs::path(ProgramDirectory()), fs::current_path() / "");
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

TEST(SentenceId, InALessonEqualsTheIdOfTheWholeEntry)
{
    const std::string lesson = "New Concept English Book 1\\Lesson 003 Sorry, sir\\";
    const std::string prefix = SentenceId(lesson);
    std::string id = "left over";
    for (const char* title : {"02 My coat and my umbrella please.", "05", " 07 after a blank", "", "11\\odd"}) {
        SentenceIdInLesson(prefix, title, id);
        EXPECT_EQ(id, SentenceId(lesson + title)) << title;
    }
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
    EXPECT_TRUE(ListLesson(folder.path().string()).ok()) << "an empty lesson is no fault";
}

struct ListingCase
{
    const char* name;
    std::string folder;   ///< the folder listed
    bool book;            ///< ListBook, else ListLesson
    std::string expected; ///< the message, naming the folder at fault
};

TEST(FolderListing, AMissingFolderIsReportedByNameAndKind)
{
    TempFolder folder;
    const std::string root = folder.path().string() + "/";
    folder.Write("Book/Lesson 001 A/01 One..sau");
    folder.Write("Book/Lesson 002 File");
    const ListingCase cases[] = {
        {"missing book", root + "Gone/Lesson 001 A", false, "找不到课本文件夹: " + root + "Gone"},
        {"missing library", root + "Nowhere/Book/Lesson 001 A", false, "找不到课本文件夹: " + root + "Nowhere/Book"},
        {"missing lesson", root + "Book/Lesson 009 B", false, "找不到课文文件夹: " + root + "Book/Lesson 009 B"},
        {"lesson is a file", root + "Book/Lesson 002 File", false,
         "课文路径不是文件夹: " + root + "Book/Lesson 002 File"},
        {"missing book listed", root + "Gone", true, "找不到课本文件夹: " + root + "Gone"},
    };
    for (const ListingCase& c : cases) {
        const FolderListing listing = c.book ? ListBook(c.folder) : ListLesson(c.folder);
        EXPECT_EQ(listing.error, c.expected) << c.name;
        EXPECT_TRUE(listing.names.empty()) << c.name;
    }
    EXPECT_EQ(ListLesson(root + "Book/Lesson 001 A/").names, (std::vector<std::string>{"01 One."}));
}

TEST(FolderListing, AnUnreadableFolderIsReportedByNameAndKind)
{
    TempFolder folder;
    const std::string book = folder.path().string() + "/Book";
    const std::string lesson = book + "/Lesson 001 A";
    folder.Write("Book/Lesson 001 A/01 One..sau");
    // Whether the listing, as a user the modes apply to, says `expected` ("" for a listing).
    auto listsAs = [&](fs::perms bookMode, fs::perms lessonMode, bool listBook, const std::string& expected) {
        fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
        fs::permissions(book, bookMode);
        fs::permissions(lesson, lessonMode);
        const int outcome = RunAsUnprivilegedUser([&] {
            const FolderListing listing = listBook ? ListBook(book) : ListLesson(lesson);
            if (listing.error != expected || (expected.empty() && listing.names.empty())) {
                std::fprintf(stderr, "listed %zu, error \"%s\"\n", listing.names.size(), listing.error.c_str());
                return 1;
            }
            return 0;
        });
        fs::permissions(book, fs::perms::owner_all);
        fs::permissions(lesson, fs::perms::owner_all);
        return outcome;
    };
    const fs::perms open = fs::perms::all;
    const fs::perms searchOnly = fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec;
    const fs::perms closed = fs::perms::none;
    EXPECT_EQ(listsAs(open, open, false, ""), 0) << "the fixture is readable";
    EXPECT_EQ(listsAs(open, closed, false, "没有读取课文文件夹的权限: " + lesson), 0);
    EXPECT_EQ(listsAs(closed, open, false, "没有读取课本文件夹的权限: " + book), 0);
    EXPECT_EQ(listsAs(closed, open, true, "没有读取课本文件夹的权限: " + book), 0);
    // A book that may be entered but not listed still opens its lessons by name.
    EXPECT_EQ(listsAs(searchOnly, open, true, "没有读取课本文件夹的权限: " + book), 0);
    EXPECT_EQ(listsAs(searchOnly, open, false, ""), 0);
}

TEST(LessonFolders, EveryLessonFolderInOrderDotsIncluded)
{
    TempFolder folder;
    for (const char* name :
         {"Lesson 010 Ten", "Lesson 002 Two", "lesson 003 three", "Lesson.old", "Lesson 5.5 Review", "Notes"}) {
        fs::create_directories(folder.path() / name);
    }
    folder.Write("Lesson 004 a file");
    folder.Write("Lesson 001.txt");
    EXPECT_EQ(LessonFolders(folder.path().string()),
              (std::vector<std::string>{"Lesson 002 Two", "lesson 003 three", "Lesson 010 Ten", "Lesson 5.5 Review",
                                        "Lesson.old"}));
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

TEST(ItemPaths, OnlyTheFirstTwoSeparatorsDivide)
{
    struct Case
    {
        const char* item;
        const char* book;
        const char* lesson;
        const char* title;
        const char* native;
    };
    const Case cases[] = {
        {"Book\\Lesson 001 A\\01 Either\\or.", "Book", "Lesson 001 A", "01 Either\\or.",
         "Book/Lesson 001 A/01 Either\\or."},
        {"Book\\Lesson 001 A\\01 Plain.", "Book", "Lesson 001 A", "01 Plain.", "Book/Lesson 001 A/01 Plain."},
        {"Book\\Lesson 001 A", "Book", "", "Lesson 001 A", "Book/Lesson 001 A"},
        {"Book", "", "", "Book", "Book"},
    };
    for (const Case& c : cases) {
        const ItemPathParts parts = SplitItemPath(c.item);
        EXPECT_EQ(parts.book, c.book) << c.item;
        EXPECT_EQ(parts.lesson, c.lesson) << c.item;
        EXPECT_EQ(parts.title, c.title) << c.item;
        EXPECT_EQ(NativeRelativePath(c.item), c.native) << c.item;
    }
    EXPECT_EQ(ItemLessonOf("Book\\Lesson 001 A\\01 Either\\or."), "Book\\Lesson 001 A");
    EXPECT_EQ(SentenceId("New Concept English Book 1\\Lesson 003 X\\02 a\\b c"), "New1Lesson003T02");
}

TEST(ItemPaths, ABackslashInASentenceFileNameFindsItsAudioInBothModes)
{
    TempFolder folder;
    const fs::path file = folder.Write("Book/Lesson 001 A/02 Either\\or^.sau");
    const std::string lesson = (folder.path() / "Book" / "Lesson 001 A").string();
    ASSERT_EQ(FillLessonList(lesson), (std::vector<std::string>{"02 Either\\or?"}));
    EXPECT_EQ(SentenceAudioPath(lesson, false, "02 Either\\or?", ""), file.string());
    EXPECT_EQ(SentenceAudioPath(lesson, true, "02 Either\\or?", "Book\\Lesson 001 A\\02 Either\\or?"), file.string());
}

TEST(FileNames, NamesThatAreNotUtf8AreShownDecodedAndOpenedByTheirBytes)
{
    TempFolder folder;
    // A library unpacked from a Windows archive: GBK folder and file names beside UTF-8 ones.
    const std::string gbkLesson = "Lesson 003 " + Gb18030("中文课");
    const std::string gbkTitle = "01 " + Gb18030("你好") + " Hello^";
    const fs::path gbkFile = folder.Write(fs::path("Book") / gbkLesson / (gbkTitle + ".sau"), "gbk");
    const fs::path utf8File = folder.Write(fs::path("Book") / gbkLesson / "02 再见 Bye..sau", "utf8");
    const fs::path noteFile = folder.Write(fs::path("Book") / gbkLesson / "Book Lesson003.txt", "(1)");
    folder.Write("Book/Lesson 004 " + Gb18030("复习") + "/01 Review..sau");

    const std::string book = (folder.path() / "Book").string();
    EXPECT_EQ(LessonFolders(book), (std::vector<std::string>{"Lesson 003 中文课", "Lesson 004 复习"}));
    const std::string lesson = book + "/Lesson 003 中文课";
    const FolderListing titles = ListLesson(lesson);
    ASSERT_TRUE(titles.ok()) << titles.error;
    EXPECT_EQ(titles.names, (std::vector<std::string>{"01 你好 Hello?", "02 再见 Bye."}));

    EXPECT_EQ(SentenceAudioPath(lesson, false, "01 你好 Hello?", ""), gbkFile.string());
    EXPECT_EQ(SentenceAudioPath(lesson, false, "02 再见 Bye.", ""), utf8File.string());
    EXPECT_EQ(SentenceAudioPath(lesson, true, "", "Book\\Lesson 003 中文课\\01 你好 Hello?"), gbkFile.string());
    EXPECT_EQ(NoteFileOf(lesson), noteFile.string());
    EXPECT_EQ(FileSystemPath(book + "/Lesson 003 中文课/99 新.sau"),
              (folder.path() / "Book" / gbkLesson / "99 新.sau").string())
        << "a name that does not exist yet keeps its shown form";

    // Bytes that no code page decodes still show, and still find their file.
    const fs::path odd = folder.Write(fs::path("Book") / "Lesson 005 Odd" / "01 \xff\xfe.sau", "odd");
    const std::vector<std::string> oddTitles = FillLessonList(book + "/Lesson 005 Odd");
    ASSERT_EQ(oddTitles.size(), 1u);
    EXPECT_EQ(SentenceAudioPath(book + "/Lesson 005 Odd", false, oddTitles[0], ""), odd.string());
}

} // namespace
