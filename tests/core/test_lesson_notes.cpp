#include "notes/LessonNotes.h"

#include <csignal>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Gb18030.h"
#include "OtherUser.h"
#include "FileSizeLimit.h"
#include "TempFolder.h"
#include "library/Library.h"
#include "notes/NotesStore.h"

using namespace lectoria::notes;
using lectoria::test::Gb18030;
using lectoria::test::ReadBytes;
using lectoria::test::RunAsUnprivilegedUser;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

class LessonNotesTest : public testing::Test
{
protected:
    LessonNotesTest()
    {
        m_lesson = m_folder.path() / "Oxford Junior English" / "Lesson 012 Colours";
        for (const char* title : {"04 Red.sau", "05 Blue.sau", "09 You're welcome.sau"}) {
            m_folder.Write(fs::path("Oxford Junior English") / "Lesson 012 Colours" / title);
        }
    }
    std::string Lesson() const { return m_lesson.string(); }
    fs::path NoteFile() const { return m_lesson / "Oxford Junior English Lesson012.txt"; }
    void WriteNotes(const std::string& bytes) const
    {
        m_folder.Write(NoteFile().lexically_relative(m_folder.path()), bytes);
    }

    TempFolder m_folder;
    fs::path m_lesson;
};

TEST(NoteSlots, ANoteLineIsTheSentenceNumberWithinTheLimit)
{
    struct Case
    {
        const char* title;
        NoteSlot::Kind kind;
        int line;
    };
    const Case cases[] = {
        {"09 You're welcome.", NoteSlot::Kind::Line, 9},
        {"1 One.", NoteSlot::Kind::Line, 1},
        {"9999 Last kept.", NoteSlot::Kind::Line, 9999},
        {"10000 Past the limit.", NoteSlot::Kind::TooHigh, 0},
        {"2147483647 x", NoteSlot::Kind::TooHigh, 0},
        {"99999999999999999999999 y", NoteSlot::Kind::TooHigh, 0},
        {"Excuse me!", NoteSlot::Kind::NoNumber, 0},
        {"00 Zero.", NoteSlot::Kind::NoNumber, 0},
        {"", NoteSlot::Kind::NoNumber, 0},
    };
    for (const Case& c : cases) {
        const NoteSlot slot = SlotOfTitle(c.title);
        EXPECT_EQ(slot.kind, c.kind) << c.title;
        EXPECT_EQ(slot.line, c.line) << c.title;
        EXPECT_EQ(NotKeptText(slot).empty(), slot.kept()) << "a slot without a line says why: " << c.title;
    }
}

// Each row: the note file before, what is typed for which sentence, and the exact bytes after.
TEST_F(LessonNotesTest, OnlyEditedLinesChangeAndEveryOtherByteStays)
{
    struct Case
    {
        const char* name;
        std::string before; ///< empty: no note file
        int sentence;
        const char* typed;
        std::string after;
    };
    const Case cases[] = {
        {"sentence 9 of a lesson whose 1-3 are gone writes line 9, not line 6",
         Gb18030("(1)\r\n(2)\r\n(3)\r\n(4)\r\n(5)\r\n(6)六的笔记\r\n(7)\r\n(8)\r\n(9)\r\n"), 9, "客气。",
         Gb18030("(1)\r\n(2)\r\n(3)\r\n(4)\r\n(5)\r\n(6)六的笔记\r\n(7)\r\n(8)\r\n(9)客气。\r\n")},
        {"a UTF-8 file stays UTF-8", "(1)你好\r\n(2)\r\n(3)再见\r\n", 2, "客气。",
         "(1)你好\r\n(2)客气。\r\n(3)再见\r\n"},
        {"a UTF-8 file with a byte-order mark keeps it", "\xEF\xBB\xBF(1)你好\n(2)\n", 1, "早上好",
         "\xEF\xBB\xBF(1)早上好\n(2)\n"},
        {"bytes that are not GB18030 stay on lines not edited", "(1)\x80\xFF odd\r\n(2)\r\n", 2, "形容词",
         "(1)\x80\xFF odd\r\n" + Gb18030("(2)形容词\r\n")},
        {"a short file grows to the sentence with its numbers", Gb18030("(1)一"), 4, "四",
         Gb18030("(1)一\r\n(2)\r\n(3)\r\n(4)四\r\n")},
        {"no file yet", "", 2, "二", Gb18030("(1)\r\n(2)二\r\n")},
        {"a line break inside a note stays on its line", Gb18030("(1)\r\n"), 1, "第一行\n第二行",
         Gb18030("(1)第一行\u2029第二行\r\n")},
    };
    for (const Case& c : cases) {
        fs::remove(NoteFile());
        if (!c.before.empty()) {
            WriteNotes(c.before);
        }
        LessonNotes notes(Lesson());
        ASSERT_TRUE(notes.SetNoteText(c.sentence, c.typed).ok) << c.name;
        EXPECT_TRUE(notes.dirty()) << c.name;
        ASSERT_TRUE(notes.Save().ok) << c.name;
        EXPECT_FALSE(notes.dirty()) << c.name;
        EXPECT_EQ(ReadBytes(NoteFile()), c.after) << c.name;
        EXPECT_EQ(LessonNotes(Lesson()).NoteText(c.sentence), c.typed) << c.name;
    }
}

TEST_F(LessonNotesTest, ViewingOrRetypingTheSameNoteWritesNothing)
{
    WriteNotes("(1)客气。\r\n(2)\r\n");
    LessonNotes notes(Lesson());
    ASSERT_TRUE(notes.SetNoteText(1, notes.NoteText(1)).ok);
    EXPECT_FALSE(notes.dirty());
    ASSERT_TRUE(notes.SetNoteText(1, "changed").ok);
    ASSERT_TRUE(notes.SetNoteText(1, "客气。").ok);
    EXPECT_FALSE(notes.dirty()) << "typed back to what the file holds";
    fs::remove(NoteFile());
    EXPECT_TRUE(notes.Save().ok);
    EXPECT_FALSE(fs::exists(NoteFile())) << "a save without edits writes nothing";
}

TEST_F(LessonNotesTest, AFullDiskLeavesTheOldFileWholeAndKeepsTheNote)
{
    std::string big;
    for (int k = 1; k <= 400; ++k) {
        big += "(" + std::to_string(k) + ")" + std::string(60, 'n') + "\r\n";
    }
    WriteNotes(big);
    LessonNotes notes(Lesson());
    ASSERT_TRUE(notes.SetNoteText(3, "typed before the disk filled").ok);

    // A file-size limit makes the write fail part-way, as a full disk does.
    lectoria::test::FileSizeLimit limit(20480);
    ASSERT_TRUE(limit.active());
    const NoteStatus failed = notes.Save();
    limit.Lift();

    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.message.find(NoteFile().string()), std::string::npos) << failed.message;
    EXPECT_EQ(ReadBytes(NoteFile()), big) << "the old file stays whole";
    EXPECT_TRUE(notes.dirty()) << "the typed note is still in memory";
    for (const auto& entry : fs::directory_iterator(m_lesson)) {
        EXPECT_EQ(entry.path().extension(), entry.path() == NoteFile() ? ".txt" : ".sau")
            << "no temporary file is left: " << entry.path();
    }

    ASSERT_TRUE(notes.Save().ok) << "once there is room the same note is written";
    EXPECT_EQ(LessonNotes(Lesson()).NoteText(3), "typed before the disk filled");
}

TEST_F(LessonNotesTest, TwoWritersOfOneFileKeepEachOthersLines)
{
    WriteNotes(Gb18030("(1)\r\n(2)\r\n(3)\r\n"));
    LessonNotes first(Lesson());
    LessonNotes second(Lesson());
    ASSERT_TRUE(first.SetNoteText(1, "第一个程序").ok);
    ASSERT_TRUE(second.SetNoteText(3, "第二个程序").ok);
    ASSERT_TRUE(first.Save().ok);
    ASSERT_TRUE(second.Save().ok);
    EXPECT_EQ(ReadBytes(NoteFile()), Gb18030("(1)第一个程序\r\n(2)\r\n(3)第二个程序\r\n"));
}

TEST_F(LessonNotesTest, AFolderWhereTheNoteFileShouldBeIsNeverWrittenOver)
{
    fs::create_directories(NoteFile() / "inside");
    LessonNotes notes(Lesson());
    EXPECT_EQ(notes.state(), LessonNotes::State::Unreadable);
    EXPECT_FALSE(notes.loadError().empty());
    EXPECT_FALSE(notes.SetNoteText(1, "x").ok);
    EXPECT_TRUE(fs::is_directory(NoteFile() / "inside"));
}

// Permission faults as a user the file modes apply to.
TEST_F(LessonNotesTest, UnreadableFilesAndReadOnlyFoldersFailVisiblyAndLoseNothing)
{
    const std::string before = Gb18030("(1)旧笔记\r\n(2)\r\n");
    struct Case
    {
        const char* name;
        std::function<void()> arrange;
        std::function<int(LessonNotes&)> check; ///< 0 when the behaviour is right
    };
    const Case cases[] = {
        {"an unreadable note file is not overwritten", [&] { fs::permissions(NoteFile(), fs::perms::owner_write); },
         [](LessonNotes& notes) {
             const bool refused = notes.state() == LessonNotes::State::Unreadable && !notes.SetNoteText(2, "x").ok;
             return refused && !notes.dirty() && notes.Save().ok ? 0 : 1;
         }},
        {"a read-only note file fails the save and keeps the note",
         [&] { fs::permissions(NoteFile(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read); },
         [](LessonNotes& notes) {
             if (!notes.SetNoteText(2, "新笔记").ok) {
                 return 1;
             }
             const NoteStatus status = notes.Save();
             return !status.ok && !status.message.empty() && notes.dirty() ? 0 : 2;
         }},
    };
    for (const Case& c : cases) {
        WriteNotes(before);
        fs::permissions(m_folder.path(), fs::perms::all, fs::perm_options::add);
        fs::permissions(m_lesson.parent_path(), fs::perms::all, fs::perm_options::add);
        fs::permissions(m_lesson, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
        fs::permissions(NoteFile(), fs::perms::all);
        c.arrange();
        const std::string lesson = Lesson();
        const int result = RunAsUnprivilegedUser([&] {
            LessonNotes notes(lesson);
            return c.check(notes);
        });
        fs::permissions(NoteFile(), fs::perms::owner_read | fs::perms::owner_write);
        if (result < 0) {
            GTEST_SKIP() << "cannot run as an unprivileged user here";
        }
        EXPECT_EQ(result, 0) << c.name;
        EXPECT_EQ(ReadBytes(NoteFile()), before) << c.name;
    }
}

TEST_F(LessonNotesTest, AMissingFileIsCreatedForTheListedSentencesOnly)
{
    LessonNotes notes(Lesson());
    EXPECT_EQ(notes.state(), LessonNotes::State::Missing);
    notes.CreateIfMissing(3);
    EXPECT_EQ(ReadBytes(NoteFile()), "(1)\r\n(2)\r\n(3)\r\n");
    WriteNotes("(1)kept\r\n");
    LessonNotes(Lesson()).CreateIfMissing(5);
    EXPECT_EQ(ReadBytes(NoteFile()), "(1)kept\r\n") << "an existing file is left alone";
}

TEST_F(LessonNotesTest, ANoteOfAnotherFileCanBeSavedElsewhere)
{
    WriteNotes(Gb18030("(1)一\r\n(2)\r\n"));
    LessonNotes notes(Lesson());
    ASSERT_TRUE(notes.SetNoteText(2, "二").ok);
    const fs::path copy = m_folder.path() / "copy.txt";
    ASSERT_TRUE(notes.SaveCopyTo(copy.string()).ok);
    EXPECT_EQ(ReadBytes(copy), Gb18030("(1)一\r\n(2)二\r\n"));
    EXPECT_TRUE(notes.dirty()) << "the lesson's own file still lacks the note";
}

TEST_F(LessonNotesTest, ImportedNotesBecomeANewFile)
{
    const fs::path file = m_folder.path() / "new.txt";
    ASSERT_TRUE(CreateNoteFile(file.string(), {{1, "你好"}, {3, "再见\n明天见"}}).ok);
    EXPECT_EQ(ReadBytes(file), Gb18030("(1)你好\r\n(2)\r\n(3)再见\u2029明天见\r\n"));
    EXPECT_FALSE(CreateNoteFile(file.string(), {{kMaxNoteLine + 1, "x"}}).ok);
}

TEST_F(LessonNotesTest, TheStoreKeepsUnsavedLessonsAndForgetsSavedOnes)
{
    NotesStore store;
    LessonNotes& lesson = store.Lesson(Lesson());
    EXPECT_EQ(&store.Lesson(Lesson()), &lesson);
    ASSERT_TRUE(lesson.SetNoteText(5, "蓝色").ok);
    EXPECT_TRUE(store.dirty());
    EXPECT_TRUE(store.SaveAll().empty());
    EXPECT_FALSE(store.dirty());
    store.DropSaved();
    EXPECT_EQ(store.Lesson(Lesson()).NoteText(5), "蓝色");
}

} // namespace

namespace {

// A writer killed at any moment leaves the note file old or new, never cut.
TEST_F(LessonNotesTest, AKilledWriterLeavesTheOldOrTheNewFile)
{
    const std::string head = Gb18030("(1)第一句\r\n(2)\r\n(3)\r\n(4)\r\n(5)\r\n(6)\r\n");
    WriteNotes(head + "(7)\r\n");
    const std::string a = head + "(7)" + std::string(3000, 'A') + "\r\n";
    const std::string b = head + "(7)" + std::string(5000, 'B') + "\r\n";
    std::srand(static_cast<unsigned>(::getpid()));
    for (int round = 0; round < 40; ++round) {
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::execl(LECTORIA_NOTE_WRITER, LECTORIA_NOTE_WRITER, Lesson().c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::usleep(static_cast<useconds_t>(20000 + std::rand() % 60000));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself with " << WEXITSTATUS(status);
        const std::string now = ReadBytes(NoteFile());
        ASSERT_TRUE(now == a || now == b || now == head + "(7)\r\n")
            << "round " << round << ": " << now.size() << " bytes";
    }
}

} // namespace
