#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Cli.h"
#include "CliRunning.h"

using lectoria::test::Cli;
using lectoria::test::CliRun;

namespace {

TEST(CliAnalyse, PrintsSourceTopicAndWordsPerFinding)
{
    const CliRun parser = Cli({"analyse", "--by", "parser", "The work has been done."});
    EXPECT_EQ(parser.status, 0);
    EXPECT_EQ(parser.out, "parser\t时态+现在完成时\thas been done\nparser\t语态+现在完成时被动语态\thas been done\n");

    const CliRun rules = Cli({"analyse", "--by=rules", "There is a book on the table."});
    EXPECT_EQ(rules.status, 0);
    EXPECT_NE(rules.out.find("rules\t句型+There be\t"), std::string::npos);
    EXPECT_EQ(rules.out.find("parser\t"), std::string::npos);

    const CliRun both = Cli({"analyse", "There is a book on the table."});
    EXPECT_NE(both.out.find("parser\t句型+There be\tthere is\n"), std::string::npos);
    EXPECT_NE(both.out.find("rules\t句型+There be\t"), std::string::npos);
}

TEST(CliAnalyse, OneBlockPerInputLineEvenWhenEmpty)
{
    const CliRun run = Cli({"analyse", "--by", "parser"}, "He can swim.\n\r\nI have finished my homework.\r\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "parser\t情态动词+一般情态动词\tcan\n\n\nparser\t时态+现在完成时\thave finished\n");
}

TEST(CliAnalyse, AnUnparsableSentenceFallsBackToTheRules)
{
    const CliRun run = Cli({"analyse", "--by", "parser", "the of and the to of there is."});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("no reading"), std::string::npos);
    EXPECT_EQ(run.out.find("parser\t"), std::string::npos);
    EXPECT_NE(run.out.find("rules\t"), std::string::npos);
}

TEST(CliAnalyse, BadArgumentsAreUsageErrors)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"analyse", "--by", "grammar", "x"}, {"analyse", "--by"}, {"analyse", "a", "b"}, {"analyse", "--fast"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
}

} // namespace
