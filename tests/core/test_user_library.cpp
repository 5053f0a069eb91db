// Copying the demo lessons into a user's library: what is missing arrives whole, what the user
// has stays theirs, and a file that cannot be written is reported without leaving half of it.
#include "library/UserLibrary.h"

#include <filesystem>
#include <string>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "TempFolder.h"
#include "library/Library.h"

using namespace lectoria::library;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

const fs::path kLesson = NativeRelativePath(kDefaultLesson);

class CopyMissingFilesTest : public testing::Test
{
protected:
    CopyMissingFilesTest()
    {
        m_folder.Write("demo" / kLesson / "01 Excuse me!.sau", std::string(4096, 'a'));
        m_folder.Write("demo" / kLesson / "New Concept English Book 1 Lesson001.txt", "(1)demo\r\n");
        m_folder.Write("demo/marks.txt", "marks");
    }
    std::string Demo() const { return (m_folder.path() / "demo").string(); }
    std::string User() const { return (m_folder.path() / "user" / "library").string() + "/"; }

    TempFolder m_folder;
};

TEST_F(CopyMissingFilesTest, ANewLibraryGetsEveryFileAndFolder)
{
    const CopyReport report = CopyMissingFiles(Demo(), User());
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(report.copied, 3);
    EXPECT_EQ(ReadBytes(fs::path(User()) / kLesson / "01 Excuse me!.sau"), std::string(4096, 'a'));
    EXPECT_EQ(ReadBytes(fs::path(User()) / "marks.txt"), "marks");
    for (const auto& entry : fs::recursive_directory_iterator(User())) {
        EXPECT_EQ(entry.path().filename().string().rfind(".lectoria-copy-", 0), std::string::npos) << entry.path();
    }
}

TEST_F(CopyMissingFilesTest, TheUsersOwnFilesStayAsTheyAre)
{
    m_folder.Write(fs::path("user/library") / kLesson / "New Concept English Book 1 Lesson001.txt", "(1)mine\r\n");
    const CopyReport report = CopyMissingFiles(Demo(), User());
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(report.copied, 2);
    EXPECT_EQ(ReadBytes(fs::path(User()) / kLesson / "New Concept English Book 1 Lesson001.txt"), "(1)mine\r\n");
    EXPECT_EQ(CopyMissingFiles(Demo(), User()).copied, 0) << "a second run finds nothing missing";
}

TEST_F(CopyMissingFilesTest, AFileThatCannotBeWrittenIsReportedAndLeavesNothingBehind)
{
    {
        // Like a disk that fills up after 1000 bytes: the sentence file does not fit.
        const lectoria::test::FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        const CopyReport report = CopyMissingFiles(Demo(), User());
        ASSERT_EQ(report.failures.size(), 1u);
        EXPECT_NE(report.failures.front().find("01 Excuse me!.sau"), std::string::npos) << report.failures.front();
        EXPECT_EQ(report.copied, 2);
    }
    const fs::path lesson = fs::path(User()) / kLesson;
    EXPECT_FALSE(fs::exists(lesson / "01 Excuse me!.sau"));
    EXPECT_FALSE(fs::exists(lesson / ".lectoria-copy-01 Excuse me!.sau"));
    // Once there is room, the next start completes it.
    EXPECT_EQ(CopyMissingFiles(Demo(), User()).copied, 1);
    EXPECT_EQ(ReadBytes(lesson / "01 Excuse me!.sau"), std::string(4096, 'a'));
}

TEST_F(CopyMissingFilesTest, AMissingDemoLibraryIsReported)
{
    const CopyReport report = CopyMissingFiles((m_folder.path() / "nothing").string(), User());
    EXPECT_FALSE(report.ok());
    EXPECT_EQ(report.copied, 0);
}

TEST(UserLibrary, FollowsTheDataHomeAndTheProgramsOwnFolder)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    EXPECT_EQ(UserLibraryDirectory(), home.path().toStdString() + "/Lectoria/library/");
    qunsetenv("XDG_DATA_HOME");

    // The tests run from the build tree, which lays the demo out as an install does.
    int argc = 1;
    char name[] = "test_user_library";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    const std::string demo = DemoLibraryDirectory();
    ASSERT_FALSE(demo.empty());
    EXPECT_EQ(fs::canonical(demo), fs::canonical(LECTORIA_DEMO_ROOT));
}

} // namespace
