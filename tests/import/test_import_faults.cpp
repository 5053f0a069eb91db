// Every failing import leaves the library exactly as it was and says which file failed and why.
#include <csignal>
#include <sstream>

#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "Cli.h"
#include "ImportTesting.h"
#include "library/Library.h"

using namespace lectoria;
using namespace lectoria::test;
namespace fs = std::filesystem;

namespace {

std::string GoodLrc()
{
    std::string text;
    for (const SpokenSentence& sentence : Media().recording.sentences) {
        text += "[" + LrcTime(sentence.placedStartMs - 300) + "]" + sentence.text + "\n";
    }
    return text;
}

// A library holding one lesson, and the request that would add a second to its book.
struct Library
{
    TempFolder folder;
    fs::path root = folder.path() / "library";
    lectoria::import::ImportRequest request;

    Library()
    {
        folder.Write("library/My Lessons/Lesson 001 First/01 Hello.sau", "old sound");
        folder.Write("library/My Lessons/Lesson 001 First/My Lessons Lesson001.txt", "(1)old note\r\n");
        request.libraryRoot = root.string();
        request.book = "My Lessons";
        request.title = "Second";
        request.audioPath = Media().mp3.string();
        request.timedTextPath = folder.Write("cues.lrc", GoodLrc()).string();
    }
};

TEST(ImportFaults, EachFaultLeavesTheLibraryUnchanged)
{
    struct Row
    {
        const char* name;
        void (*arrange)(Library&);
        lectoria::import::ImportError error;
        const char* named; ///< what the message must name
    };
    const Row rows[] = {
        {"missing audio", [](Library& l) { l.request.audioPath = (l.folder.path() / "gone.mp3").string(); },
         lectoria::import::ImportError::AudioUndecodable, "gone.mp3"},
        {"undecodable audio",
         [](Library& l) { l.request.audioPath = l.folder.Write("fake.mp3", "this is not sound\n").string(); },
         lectoria::import::ImportError::AudioUndecodable, "fake.mp3"},
        {"audio is a folder", [](Library& l) { l.request.audioPath = l.folder.path().string(); },
         lectoria::import::ImportError::AudioUndecodable, "lectoria-test-"},
        {"timed text missing", [](Library& l) { l.request.timedTextPath = (l.folder.path() / "none.srt").string(); },
         lectoria::import::ImportError::SourceUnreadable, "none.srt"},
        {"timed text without cues",
         [](Library& l) { l.request.timedTextPath = l.folder.Write("plain.lrc", "[ti:Nothing]\nno times\n").string(); },
         lectoria::import::ImportError::NoSentences, "plain.lrc"},
        {"timed text in an unknown encoding",
         [](Library& l) {
             l.request.timedTextPath =
                 l.folder.Write("latin.srt", "1\n00:00:01,000 --> 00:00:02,000\nCaf\xE9\n").string();
         },
         lectoria::import::ImportError::SourceUnreadable, "latin.srt"},
        {"every cue after the end",
         [](Library& l) { l.request.timedTextPath = l.folder.Write("late.lrc", "[59:00.00]Too late.\n").string(); },
         lectoria::import::ImportError::NoSentences, "late.lrc"},
        {"only Chinese cues",
         [](Library& l) {
             l.request.timedTextPath = l.folder.Write("zh.lrc", "[00:01.00]你好。\n[00:03.00]再见。\n").string();
         },
         lectoria::import::ImportError::NoSentences, "zh.lrc"},
        {"lesson number taken", [](Library& l) { l.request.lessonNumber = "001"; }, import::ImportError::LessonExists,
         "Lesson 001"},
        {"unknown voice",
         [](Library& l) {
             l.request.source = import::ImportRequest::Source::Text;
             l.request.text = "Hello there.";
             l.request.voice = "no-such-voice";
         },
         lectoria::import::ImportError::SpeechFailed, "no-such-voice"},
        {"text without English",
         [](Library& l) {
             l.request.source = import::ImportRequest::Source::Text;
             l.request.textPath = l.folder.Write("zh.txt", "只有中文。\n").string();
         },
         lectoria::import::ImportError::NoSentences, "zh.txt"},
        {"new book, missing audio",
         [](Library& l) {
             l.request.book = "Brand New";
             l.request.audioPath = "/nonexistent/x.mp3";
         },
         lectoria::import::ImportError::AudioUndecodable, "x.mp3"},
        {"book name with a slash", [](Library& l) { l.request.book = "a/b"; }, import::ImportError::BadRequest, "a/b"},
    };
    RealMedia media;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Library library;
        row.arrange(library);
        const auto before = Snapshot(library.root);
        const import::ImportResult result = import::ImportLesson(library.request, media.services());
        EXPECT_EQ(result.error, row.error) << import::ImportErrorMessage(result);
        EXPECT_NE(import::ImportErrorMessage(result).find(row.named), std::string::npos)
            << import::ImportErrorMessage(result);
        EXPECT_FALSE(import::ImportErrorMessageZh(result).empty());
        EXPECT_EQ(Snapshot(library.root), before);
    }
}

TEST(ImportFaults, AFullDiskLeavesNothingBehind)
{
    RealMedia media;
    for (const bool newBook : {false, true}) {
        Library library;
        if (newBook) {
            library.request.book = "Another Book";
        }
        const auto before = Snapshot(library.root);
        // A file-size limit fails writes the way a full disk does, with EFBIG instead of a signal.
        lectoria::test::FileSizeLimit limit(6000);
        ASSERT_TRUE(limit.active());
        const import::ImportResult result = import::ImportLesson(library.request, media.services());
        limit.Lift();

        EXPECT_EQ(result.error, import::ImportError::WriteFailed) << import::ImportErrorMessage(result);
        EXPECT_NE(import::ImportErrorMessage(result).find(newBook ? "Another Book/Lesson 001 Second"
                                                                  : "My Lessons/Lesson 002 Second"),
                  std::string::npos)
            << import::ImportErrorMessage(result);
        EXPECT_NE(import::ImportErrorMessage(result).find("too large"), std::string::npos)
            << import::ImportErrorMessage(result);
        EXPECT_EQ(Snapshot(library.root), before);
    }
}

TEST(ImportFaults, AnUnwritableLibraryIsReportedAndLeftAlone)
{
    Library library;
    const auto before = Snapshot(library.root);
    const fs::path book = library.root / "My Lessons";
    bool mounted = false;
    if (::geteuid() == 0) {
        // Permissions do not stop root: the book becomes a read-only file system instead.
        const fs::path copy = library.folder.path() / "copy";
        fs::copy(book, copy, fs::copy_options::recursive);
        mounted = ::mount("tmpfs", book.c_str(), "tmpfs", 0, "size=1m") == 0;
        if (!mounted) {
            GTEST_SKIP() << "cannot mount a read-only file system here";
        }
        fs::copy(copy, book, fs::copy_options::recursive);
        fs::remove_all(copy);
        ASSERT_EQ(::mount(nullptr, book.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    } else {
        fs::permissions(book, fs::perms::owner_read | fs::perms::owner_exec);
    }
    RealMedia media;
    const import::ImportResult result = import::ImportLesson(library.request, media.services());
    const auto after = Snapshot(library.root);
    if (mounted) {
        ::umount(book.c_str());
    } else {
        fs::permissions(book, fs::perms::owner_all);
    }
    EXPECT_EQ(result.error, import::ImportError::WriteFailed);
    EXPECT_NE(import::ImportErrorMessage(result).find("My Lessons"), std::string::npos)
        << import::ImportErrorMessage(result);
    EXPECT_EQ(after, before);
}

TEST(ImportFaults, CancellingLeavesNothing)
{
    Library library;
    library.request.book = "Cancelled Book";
    const auto before = Snapshot(library.root);
    RealMedia media;
    std::atomic<bool> cancel{false};
    const import::ImportResult result = import::ImportLesson(
        library.request, media.services(), [&cancel](int done, int) { cancel = done >= 3; }, &cancel);
    EXPECT_EQ(result.error, import::ImportError::Cancelled);
    EXPECT_EQ(Snapshot(library.root), before);
}

TEST(ImportFaults, CommandLineExitCodes)
{
    Library library;
    const std::string root = library.root.string();
    const std::string mp3 = Media().mp3.string();
    const std::string lrc = library.request.timedTextPath;
    struct Row
    {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Row rows[] = {
        {{"import", "--book", "B", "--title", "T", "--text", lrc}, 2, "--root"},
        {{"import", "--root", root, "--title", "T", "--text", lrc}, 2, "--book"},
        {{"import", "--root", root, "--book", "B", "--text", lrc}, 2, "--title"},
        {{"import", "--root", root, "--book", "B", "--title", "T"}, 2, "either"},
        {{"import", "--root", root, "--book", "B", "--title", "T", "--audio", mp3}, 2, "either"},
        {{"import", "--root", root, "--book", "B", "--title", "T", "--audio", mp3, "--timed", lrc, "--text", lrc},
         2,
         "either"},
        {{"import", "--root", root, "--book", "B", "--title", "T", "--audio", mp3, "--timed", lrc, "--wpm", "150"},
         2,
         "--text only"},
        {{"import", "--root", root, "--book", "B", "--title", "T", "--text", lrc, "--wpm", "fast"}, 2, "--wpm"},
        {{"import", "--root", root, "--book", "B", "--title", "T", "--text", lrc, "--speed", "1"}, 2, "--speed"},
        {{"import", "--root", root, "--book", "B", "--title", "T", "--text", lrc, "extra"}, 2, "extra"},
        {{"import", "--root", root, "--book", "B", "--title", "T", "--text", lrc, "--wpm", "20"},
         1,
         "words per minute"},
        {{"import", "--root", root, "--book", "B", "--title", "T", "--audio", "/no/such.mp3", "--timed", lrc},
         1,
         "/no/such.mp3"},
        {{"import", "--root", root + "/missing", "--book", "B", "--title", "T", "--text", lrc}, 1, "missing"},
    };
    const auto before = Snapshot(library.root);
    for (const Row& row : rows) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(cli::RunCli(row.args, in, out, err), row.status) << err.str();
        EXPECT_NE(err.str().find(row.message), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty()) << out.str();
    }
    EXPECT_EQ(Snapshot(library.root), before);
}

} // namespace
