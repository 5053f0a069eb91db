#include "Cli.h"

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "TempFolder.h"

using lectoria::cli::kUsageError;
using lectoria::cli::RunCli;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

struct CliRun
{
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, in, out, err);
    return CliRun{status, out.str(), err.str()};
}

TEST(CliNormalize, PrintsTheTokenTextExactly)
{
    const CliRun run = Cli({"normalize", "it's five o'clock, isn't it?"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, " it's five o'clock ,  isn't it ?  \n");
}

TEST(CliNormalize, ReadsOneSentencePerInputLine)
{
    const CliRun run = Cli({"normalize"}, "Yes?\r\nno.\n\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, " Yes ?  \n no .  \n  \n");
}

TEST(CliMatch, LowerCasesAndPrintsVerdictAndMatchedWords)
{
    EXPECT_EQ(Cli({"match", "--rule", "$+0/1/2/3/4/5/6/7/8/9+lesson ++", "It costs $5."}).out, "true\t$/5/\n");
    EXPECT_EQ(Cli({"match", "--rule=+ an / a / the +++", "Banana."}).out, "false\t\n");
    const CliRun lines = Cli({"match", "--rule", "+ an / a / the +++"}, "An apple.\nBanana.\n");
    EXPECT_EQ(lines.status, 0);
    EXPECT_EQ(lines.out, "true\t an /\nfalse\t\n");
}

TEST(CliLesson, ListsTitlesInReadingOrder)
{
    TempFolder folder;
    folder.Write("Lesson 001 A/02 Is it yours^.sau");
    folder.Write("Lesson 001 A/01 Hello..sau");
    const CliRun run = Cli({"lesson", (folder.path() / "Lesson 001 A").string() + "/"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "01 Hello.\n02 Is it yours?\n");
}

TEST(CliScramble, WritesTheXorOfTheInput)
{
    TempFolder folder;
    const fs::path in = folder.Write("in.mp3", std::string("\x00\xa6\xff", 3));
    const fs::path out = folder.path() / "out.sau";
    EXPECT_EQ(Cli({"scramble", in.string(), out.string()}).status, 0);
    EXPECT_EQ(ReadBytes(out), std::string("\xa6\x00\x59", 3));
}

TEST(CliHelp, DescribesEveryCommand)
{
    const CliRun run = Cli({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* command : {"normalize", "match --rule", "lesson", "scramble"}) {
        EXPECT_NE(run.out.find(command), std::string::npos) << command;
    }
}

TEST(CliErrors, BadArgumentsAndUnreadableFilesExitWithStatusTwo)
{
    TempFolder folder;
    const std::string missing = (folder.path() / "missing").string();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"match", "sentence"},
        {"match", "--rule"},
        {"match", "--bogus", "x", "y"},
        {"normalize", "one", "two"},
        {"lesson"},
        {"lesson", missing},
        {"scramble", missing, (folder.path() / "out").string()},
        {"scramble", "only-one"},
    };
    for (const std::vector<std::string>& args : cases) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kUsageError) << testing::PrintToString(args);
        EXPECT_FALSE(run.err.empty()) << testing::PrintToString(args);
        EXPECT_TRUE(run.out.empty()) << testing::PrintToString(args);
    }
}

} // namespace
