// The book list: the nine built-in books, then the user's own books that hold lessons.
#include <gtest/gtest.h>

#include "Gb18030.h"
#include "TempFolder.h"
#include "library/Books.h"
#include "library/Library.h"
#include "search/TopicSearch.h"

using namespace lectoria::library;
using lectoria::test::TempFolder;

namespace {

TEST(Books, OwnBooksWithLessonsFollowTheNineInNameOrder)
{
    TempFolder root;
    root.Write("zoo talk/Lesson 001 Animals/01 Hi.sau");
    root.Write("Alpha/Lesson 002 Start/01 Go.sau");
    root.Write("beta/lesson 001 lower case/01 Ok.sau");
    root.Write("Empty book/notes.txt");                             // no lesson folder
    root.Write("Files only/Lesson 001.txt");                        // a file, not a lesson folder
    root.Write(".hidden/Lesson 001 Secret/01 No.sau");              // hidden folders are not books
    root.Write("New Concept English Book 2/Lesson 001 A/01 A.sau"); // a built-in book only once
    root.Write("loose file.sau");

    std::vector<std::string> expected = BookNames();
    expected.insert(expected.end(), {"Alpha", "beta", "zoo talk"});
    EXPECT_EQ(LibraryBookNames(root.path().string()), expected);
    EXPECT_EQ(LibraryBookList(root.path().string()).substr(BookList().size()), "/Alpha/beta/zoo talk");
    EXPECT_EQ(LibraryBookNames((root.path() / "missing").string()), BookNames());
}

TEST(Books, TopicSearchWalksOwnBooksLikeTheNine)
{
    TempFolder root;
    root.Write("My Stories/Lesson 001 Rain/01 It is raining.sau");
    root.Write("My Stories/Lesson 002 Sun/01 The sun is out.sau");
    const std::vector<std::string> folders =
        lectoria::search::LessonFoldersToSearch(root.path().string(), "New Concept English Book 1/My Stories");
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(LessonNameOf(folders[1]), "Lesson 002 Sun");
}

TEST(Books, AnOwnBookNamedInGbkIsShownDecodedAndItsLessonsAreFound)
{
    // A book folder unpacked from a Windows archive keeps its GBK name on disk.
    TempFolder root;
    root.Write(lectoria::test::Gb18030("我的课本") + "/Lesson 001 Rain/01 It is raining.sau");
    const std::vector<std::string> names = LibraryBookNames(root.path().string());
    ASSERT_EQ(names.size(), BookNames().size() + 1);
    EXPECT_EQ(names.back(), "我的课本");
    const std::vector<std::string> folders =
        lectoria::search::LessonFoldersToSearch(root.path().string(), names.back());
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(ListLesson(folders[0]).names, (std::vector<std::string>{"01 It is raining"}));
}

} // namespace
