#include "Cli.h"
#include "CliRunning.h"

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "TempFolder.h"

using lectoria::cli::kUsageError;
using lectoria::cli::RunCli;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

using lectoria::test::Cli;
using lectoria::test::CliRun;

namespace {

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

// A library of two books; the search lists them in the order --books names them.
class CliSearch : public testing::Test
{
protected:
    CliSearch()
    {
        m_root.Write("New Concept English Book 1/Lesson 002 Dogs/01 An old dog^.sau");
        m_root.Write("New Concept English Book 1/Lesson 001 Cats/02 A cat and a dog..sau");
        m_root.Write("New Concept English Book 1/Lesson 001 Cats/01 The cat sat..sau");
        m_root.Write("Some English Songs/Lesson 001 Songs/01 Sing, cat!.sau");
    }
    CliRun Search(std::vector<std::string> options) const
    {
        options.insert(options.begin(), {"search", "--root", m_root.path().string()});
        return Cli(options);
    }

    TempFolder m_root;
};

TEST_F(CliSearch, PrintsOneItemPerLineInSearchOrder)
{
    const CliRun all = Search({"--books", "Some English Songs/New Concept English Book 1"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "Some English Songs\\Lesson 001 Songs\\01 Sing, cat!\n"
                       "New Concept English Book 1\\Lesson 001 Cats\\01 The cat sat.\n"
                       "New Concept English Book 1\\Lesson 001 Cats\\02 A cat and a dog.\n"
                       "New Concept English Book 1\\Lesson 002 Dogs\\01 An old dog?\n");
    EXPECT_EQ(Search({"--books", "New Concept English Book 1", "--topic", "冠词+an"}).out,
              "New Concept English Book 1\\Lesson 002 Dogs\\01 An old dog?\n");
    EXPECT_EQ(Search({"--books=New Concept English Book 1", "--all", "CAT", "--any", "bird/dog"}).out,
              "New Concept English Book 1\\Lesson 001 Cats\\02 A cat and a dog.\n");
}

TEST_F(CliSearch, HighlightsFollowATab)
{
    const CliRun run = Search({"--books", "Some English Songs", "--highlights", "--all", "Cat"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Some English Songs\\Lesson 001 Songs\\01 Sing, cat!\tCat /Cat./Cat,/Cat'/Cat!/Cat?\n");
}

TEST_F(CliSearch, BothEnginesListTheSameSentences)
{
    for (const char* topic : {"冠词+所有", "冠词+the原音音标", "名词+所有", "所有+所有+所有"}) {
        const std::vector<std::string> query = {"--books", "New Concept English Book 1/Some English Songs", "--topic",
                                                topic, "--highlights"};
        std::vector<std::string> plain = query;
        plain.insert(plain.end(), {"--engine", "plain"});
        std::vector<std::string> fast = query;
        fast.insert(fast.end(), {"--engine", "fast"});
        EXPECT_EQ(Search(plain).out, Search(fast).out) << topic;
    }
    EXPECT_EQ(Search({"--books", "Some English Songs", "--engine", "quick"}).status, kUsageError);
}

TEST_F(CliSearch, MissingBooksOrRootExitWithStatusTwo)
{
    const std::string missing = (m_root.path() / "missing").string();
    const std::vector<std::vector<std::string>> cases = {
        {"search", "--root", m_root.path().string()},
        {"search", "--root", m_root.path().string(), "--books", ""},
        {"search", "--books", "Some English Songs"},
        {"search", "--root", missing, "--books", "Some English Songs"},
        {"search", "--root", m_root.path().string(), "--books", "Some English Songs", "stray"},
    };
    for (const std::vector<std::string>& args : cases) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kUsageError) << testing::PrintToString(args);
        EXPECT_FALSE(run.err.empty()) << testing::PrintToString(args);
        EXPECT_TRUE(run.out.empty()) << testing::PrintToString(args);
    }
    EXPECT_NE(Cli({"--help"}).out.find("search --root ROOT --books"), std::string::npos);
}

} // namespace
