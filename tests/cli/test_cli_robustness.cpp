// The command-line tool against hostile input: a scramble onto its own input or a full disk,
// unknown topics and books, titles with line breaks, output that cannot be written and folders
// that cannot be read. Some cases run the real program, so that its standard output and its
// user are the real ones.
#include "Cli.h"
#include "CliRunning.h"

#include <csignal>
#include <filesystem>
#include <sstream>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "TempFolder.h"
#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

using lectoria::cli::kOutputError;
using lectoria::cli::kUsageError;
using lectoria::cli::RunCli;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;
namespace grammar = lectoria::grammar;

using lectoria::test::Cli;
using lectoria::test::CliRun;

namespace {

/// Where the program's standard output goes.
enum class Output
{
    Pipe,
    DevFull,
    Closed,
};

/// Runs the built lectoria-cli. `unprivileged` runs it as the user nobody when the tests run as
/// root, who could otherwise read every folder.
CliRun RunProgram(const std::vector<std::string>& args, Output output = Output::Pipe, bool unprivileged = false)
{
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        ADD_FAILURE() << "no pipe";
        return CliRun{-1, "", ""};
    }
    std::vector<std::string> argv = {LECTORIA_CLI_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        dup2(errPipe[1], STDERR_FILENO);
        if (output == Output::Pipe) {
            dup2(outPipe[1], STDOUT_FILENO);
        } else if (output == Output::DevFull) {
            const int full = open("/dev/full", O_WRONLY);
            dup2(full, STDOUT_FILENO);
            close(full);
        } else {
            close(STDOUT_FILENO);
        }
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
            close(fd);
        }
        if (unprivileged && getuid() == 0) {
            const uid_t nobody = 65534;
            if (setgroups(0, nullptr) != 0 || setresgid(nobody, nobody, nobody) != 0 ||
                setresuid(nobody, nobody, nobody) != 0) {
                _exit(126);
            }
        }
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    CliRun run{-1, "", ""};
    pollfd streams[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* texts[2] = {&run.out, &run.err};
    int remaining = 2;
    while (remaining > 0 && poll(streams, 2, 10000) > 0) {
        for (int k = 0; k < 2; ++k) {
            if (streams[k].fd < 0 || streams[k].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t count = read(streams[k].fd, buffer, sizeof buffer);
            if (count <= 0) {
                close(streams[k].fd);
                streams[k].fd = -1;
                --remaining;
            } else {
                texts[k]->append(buffer, static_cast<std::size_t>(count));
            }
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    EXPECT_NE(run.status, 126) << "could not become the user nobody";
    EXPECT_NE(run.status, 127) << "could not start " << LECTORIA_CLI_PROGRAM;
    return run;
}

TEST(CliScrambleSafety, SameFileLinkOrHardLinkIsRefusedAndTheInputStaysWhole)
{
    TempFolder folder;
    const fs::path in = folder.Write("a.sau", "abc");
    fs::create_symlink(in, folder.path() / "link.sau");
    fs::create_hard_link(in, folder.path() / "hard.sau");
    for (const char* out : {"a.sau", "link.sau", "hard.sau"}) {
        const CliRun run = Cli({"scramble", in.string(), (folder.path() / out).string()});
        EXPECT_EQ(run.status, kUsageError) << out;
        EXPECT_NE(run.err.find("same file"), std::string::npos) << out << ": " << run.err;
        EXPECT_EQ(ReadBytes(in), "abc") << out;
    }
}

TEST(CliScrambleSafety, AFailedWriteLeavesTheOldOutputAndNoTemporaryFile)
{
    TempFolder folder;
    const fs::path in = folder.Write("in.mp3", std::string(100000, 'x'));
    const fs::path out = folder.Write("out.sau", "old content");
    // A file-size limit makes the write fail part-way, as a full disk does.
    lectoria::test::FileSizeLimit limit(1000);
    ASSERT_TRUE(limit.active());
    const CliRun run = Cli({"scramble", in.string(), out.string()});
    limit.Lift();

    EXPECT_EQ(run.status, kUsageError);
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(out), "old content");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);

    // Through a link to another file, that file is written and the link stays.
    const fs::path target = folder.Write("target.sau", "old");
    fs::create_symlink(target, folder.path() / "to-target.sau");
    const fs::path small = folder.Write("small.mp3", std::string("\x00\xa6", 2));
    EXPECT_EQ(Cli({"scramble", small.string(), (folder.path() / "to-target.sau").string()}).status, 0);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "to-target.sau"));
    EXPECT_EQ(ReadBytes(target), std::string("\xa6\x00", 2));
}

TEST(CliTopics, UnknownTopicsAreErrorsThatNameTheNearestTopics)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* nearest; // one of the names the message must offer
    };
    const Case cases[] = {
        {{"match", "--topic", "nonsense", "It has gone."}, "'所有'"},
        {{"rule", "nonsense"}, "'所有'"},
        {{"rule", "时态+现在完成时x"}, "'现在完成时'"},
        {{"rule", "代词+反身代词+myselff"}, "'myself'"},
        {{"match", "--topic", "时态+现在完成", "It has gone."}, "'现在完成时'"},
        {{"rule", "时态+现在完成时+所有+所有"}, "three parts"},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, kUsageError) << testing::PrintToString(c.args);
        EXPECT_TRUE(run.out.empty()) << testing::PrintToString(c.args);
        EXPECT_NE(run.err.find(c.nearest), std::string::npos) << run.err;
    }
    // Every topic of the tree is accepted, odd names (blanks, a tab) included.
    grammar::RuleTable table;
    grammar::BuildRuleTable(table);
    const std::vector<std::string> parents = grammar::SplitList(table.ParentTopicList, '/');
    int topics = 0;
    for (std::size_t p = 0; p < parents.size(); ++p) {
        const std::vector<std::string> children = grammar::SplitList(table.ChildTopicLists[p], '/');
        for (std::size_t c = 0; c < children.size(); ++c) {
            const std::string selection = parents[p] + "+" + children[c];
            for (const std::string& grandchild :
                 grammar::FillGrandchildCombo(table, static_cast<int>(p), static_cast<int>(c), "").names) {
                ASSERT_EQ(Cli({"rule", selection + "+" + grandchild}).status, 0) << selection << "+" << grandchild;
                ++topics;
            }
        }
    }
    EXPECT_GT(topics, 1000);
    EXPECT_EQ(Cli({"rule", "时态"}).status, 0);
    EXPECT_EQ(Cli({"match", "--topic", "时态+现在完成时", "It has gone."}).status, 0);
}

class CliLibrary : public testing::Test
{
protected:
    CliLibrary()
    {
        m_root.Write("Some English Songs/Lesson 001 Songs/01 Sing, cat!.sau");
        m_root.Write("Some English Songs/Lesson 002 Lines/01 Two\nlines.sau");
        m_root.Write("Some English Songs/Lesson 002 Lines/02 A\ttab.sau");
        fs::create_directories(m_root.path() / "Other Book");
    }
    std::vector<std::string> Search(const std::string& books, const std::string& topic = "所有+所有+所有") const
    {
        return {"search", "--root", m_root.path().string(), "--books", books, "--topic", topic};
    }
    std::string Folder(const std::string& relative) const { return (m_root.path() / relative).string(); }

    TempFolder m_root;
};

TEST_F(CliLibrary, UnknownBooksAndTopicsInASearchAreErrors)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {Search("Some English Song"), "'Some English Songs'"},
        {Search("Other Book/Nowhere"), "no book 'Nowhere'"},
        {Search("Some English Songs/"), "no book ''"},
        {Search("Some English Songs", "garbage"), "no topic 'garbage'"},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, kUsageError) << testing::PrintToString(c.args);
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    // A book without lessons is in the library; it finds nothing.
    const CliRun empty = Cli(Search("Other Book"));
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_TRUE(empty.out.empty());
}

TEST_F(CliLibrary, TitlesWithControlCharactersPrintOnOneLine)
{
    const CliRun lesson = Cli({"lesson", Folder("Some English Songs/Lesson 002 Lines")});
    EXPECT_EQ(lesson.status, 0) << lesson.err;
    EXPECT_EQ(lesson.out, "01 Two\\nlines\n02 A\\ttab\n");
    const CliRun search = Cli(Search("Some English Songs"));
    EXPECT_EQ(search.status, 0) << search.err;
    EXPECT_EQ(search.out, "Some English Songs\\Lesson 001 Songs\\01 Sing, cat!\n"
                          "Some English Songs\\Lesson 002 Lines\\01 Two\\nlines\n"
                          "Some English Songs\\Lesson 002 Lines\\02 A\\ttab\n");
}

TEST_F(CliLibrary, UnreadableLessonOrBookFoldersAreErrors)
{
    // The user nobody must reach the library to find the one folder it cannot read.
    fs::permissions(m_root.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    const fs::path lesson = m_root.path() / "Some English Songs" / "Lesson 002 Lines";
    fs::permissions(lesson, fs::perms::none);
    const CliRun listed = RunProgram({"lesson", lesson.string()}, Output::Pipe, true);
    EXPECT_EQ(listed.status, kUsageError) << listed.out;
    EXPECT_NE(listed.err.find("cannot read lesson folder"), std::string::npos) << listed.err;
    const CliRun searched = RunProgram(Search("Some English Songs"), Output::Pipe, true);
    EXPECT_EQ(searched.status, kUsageError) << searched.out;
    EXPECT_NE(searched.err.find("Lesson 002 Lines"), std::string::npos) << searched.err;
    fs::permissions(lesson, fs::perms::owner_all);

    const fs::path book = m_root.path() / "Other Book";
    fs::permissions(book, fs::perms::none);
    const CliRun bookless = RunProgram(Search("Other Book"), Output::Pipe, true);
    EXPECT_EQ(bookless.status, kUsageError) << bookless.out;
    EXPECT_NE(bookless.err.find("cannot read book folder"), std::string::npos) << bookless.err;
    fs::permissions(book, fs::perms::owner_all);

    const auto rootPermissions = fs::status(m_root.path()).permissions();
    fs::permissions(m_root.path(), fs::perms::none);
    const CliRun rootless = RunProgram(Search("Other Book"), Output::Pipe, true);
    EXPECT_EQ(rootless.status, kUsageError) << rootless.out;
    EXPECT_NE(rootless.err.find("cannot read library root"), std::string::npos) << rootless.err;
    fs::permissions(m_root.path(), rootPermissions);
}

/// A stream buffer that takes nothing, like a full disk.
class RefusingBuffer : public std::streambuf
{
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(CliOutput, OutputThatCannotBeWrittenIsAFailureWithAMessage)
{
    RefusingBuffer refusing;
    std::ostream out(&refusing);
    std::istringstream in;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"rules"}, in, out, err), kOutputError);
    EXPECT_NE(err.str().find("cannot write the output"), std::string::npos);

    for (const Output output : {Output::DevFull, Output::Closed}) {
        const CliRun run = RunProgram({"rules"}, output);
        EXPECT_EQ(run.status, kOutputError) << static_cast<int>(output);
        EXPECT_NE(run.err.find("cannot write the output"), std::string::npos) << run.err;
    }
    // A command that prints nothing does not mind a closed output.
    TempFolder folder;
    const fs::path in2 = folder.Write("in.mp3", "abc");
    EXPECT_EQ(RunProgram({"scramble", in2.string(), (folder.path() / "out.sau").string()}, Output::Closed).status, 0);
    EXPECT_EQ(ReadBytes(folder.path() / "out.sau").size(), 3u);
}

} // namespace
