#include "search/GrammarMarks.h"

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "Gb18030.h"
#include "TempFolder.h"
#include "grammar/TextRules.h"
#include "grammar/WordListData.h"

using namespace lectoria::search;
using lectoria::test::Gb18030;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> BuiltinRows()
{
    return lectoria::grammar::SplitList(lectoria::grammar::lists::BuiltinMarks, '/');
}

struct TopicTagCase
{
    const char* selection;
    bool markable;
    const char* tag;
};

TEST(MarkTagOfTopic, TakesTheChildAndMapsItsAliases)
{
    const TopicTagCase cases[] = {
        {"谓语动词+非be连系动词+所有", true, "其他系动词"},
        {"谓语动词+常用带宾补的动词", true, "主谓宾宾补"},
        {"语气+与过去事实相反主句", true, "虚拟语气主句"},
        {"语气+与现在事实相反主句", true, "虚拟语气主句"},
        {"语气+对将来情况的主观推测主句", true, "虚拟语气主句"},
        {"语气+虚拟语气主句", true, "虚拟语气主句"},
        {"句型+其他系动词", true, "其他系动词"},
        {"句型+主谓宾宾补", true, "主谓宾宾补"},
        {"分词结构+分词结构", true, "分词结构"},
        {"分词结构+with分词结构", true, "with分词结构"},
        {"从句+定语从句", true, "定语从句"},
        {"从句+名词从句", true, "名词从句"},
        {"非谓动词+过去分词", true, "过去分词"},
        {"非谓动词+现在分词", true, "现在分词"},
        {"非谓动词+动名词", true, "动名词"},
        // The parent and grandchild play no part.
        {"所有+动名词+whatever", true, "动名词"},
        // Tagged in the data, but no topic is confirmed by them.
        {"从句+状语从句", false, "状语从句"},
        {"句型+独立结构", false, "独立结构"},
        {"所有+所有+所有", false, "所有"},
        {"语气+与过去事实相反从句", false, "与过去事实相反从句"},
        {"从句", false, ""},
        {"", false, ""},
    };
    for (const TopicTagCase& c : cases) {
        const MarkTag mark = MarkTagOfTopic(c.selection);
        EXPECT_EQ(mark.markable, c.markable) << c.selection;
        EXPECT_EQ(mark.tag, c.tag) << c.selection;
    }
}

TEST(BuiltinMarks, SixWellFormedRowsInAscendingIdOrder)
{
    const std::vector<std::string> rows = BuiltinRows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.front(), "New1Lesson003T02#主谓宾宾补");
    for (const char* row :
         {"New3Lesson22T42#独立结构#现在分词#分词结构", "SomeSpeakingsLesson01T072#主谓宾宾补#分词结构#现在分词",
          "PrimaryChinaLesson019T02#动名词", "SomeMovingsLesson01T019#名词从句", "SomeSongsLesson001T05#现在分词"}) {
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_TRUE(IsMarkEntry(rows[i])) << rows[i];
        if (i > 0) {
            EXPECT_LT(MarkIdOf(rows[i - 1]), MarkIdOf(rows[i]));
        }
    }
}

TEST(HasMark, MatchesIdAndTagAsSubstringsOfOneEntry)
{
    const std::vector<std::string> list = LoadMarkList("/nonexistent-library-root/");
    ASSERT_EQ(list, BuiltinRows());
    EXPECT_TRUE(HasMark(list, "New3Lesson22T42", "分词结构"));
    EXPECT_TRUE(HasMark(list, "New3Lesson22T42", "独立结构"));
    EXPECT_FALSE(HasMark(list, "New3Lesson22T42", "状语从句"));
    // A shorter id is a substring of the longer one, so it borrows that row's tags.
    for (const char* tag : {"主谓宾宾补", "分词结构", "现在分词"}) {
        EXPECT_TRUE(HasMark(list, "SomeSpeakingsLesson01T07", tag)) << tag;
    }
    // Id and tag must stand in the same entry.
    EXPECT_FALSE(HasMark(list, "New1Lesson003T02", "动名词"));
    EXPECT_FALSE(HasMark(list, "New1Lesson003T03", "主谓宾宾补"));
    EXPECT_FALSE(HasMark({}, "New1Lesson003T02", "主谓宾宾补"));
}

TEST(HasMark, AWithParticipleMarkAlsoCountsAsAParticipleStructure)
{
    const std::vector<std::string> list = {"New2Lesson01T03#定语从句", "New2Lesson01T04#with分词结构"};
    EXPECT_TRUE(HasMark(list, "New2Lesson01T04", "分词结构"));
    EXPECT_FALSE(HasMark(list, "New2Lesson01T03", "分词结构"));
}

TEST(IsMarkEntry, AcceptsOnlyAnIdFollowedByNonEmptyTags)
{
    const std::pair<const char*, bool> cases[] = {
        {"New1Lesson001T01#定语从句", true},
        {"New1Lesson001T01#定语从句#动名词", true},
        {"x1#tag", true},
        {"New1Lesson001T01", false},
        {"#定语从句", false},
        {"New1Lesson001T01#", false},
        {"New1Lesson001T01#定语从句#", false},
        {"New1Lesson001T01##定语从句", false},
        {"New1 Lesson001T01#定语从句", false},
        {"New1Lesson001T01#定语 从句", false},
        {"New1-Lesson001#定语从句", false},
        {"; New1Lesson001T01#定语从句", false},
        {"//New1Lesson001T01#定语从句", false},
        {"", false},
    };
    for (const auto& [entry, wellFormed] : cases) {
        EXPECT_EQ(IsMarkEntry(entry), wellFormed) << '"' << entry << '"';
    }
    EXPECT_EQ(MarkIdOf("New1Lesson001T01#定语从句#动名词"), "New1Lesson001T01");
    EXPECT_EQ(MarkIdOf("no tags"), "no tags");
}

TEST(LoadMarkList, AppendsTheLibrarysOwnRowsAndSkipsMalformedLines)
{
    TempFolder root;
    root.Write("marks.txt", "\xEF\xBB\xBF"
                            "; the rows of this library\r\n"
                            "New1Lesson001T03#定语从句\r\n"
                            "\r\n"
                            "// rows below were typed by hand\n"
                            "  New1Lesson002T09#状语从句#定语从句  \n"
                            "New1Lesson002T10\n"
                            "New1Lesson002T11#\n"
                            "#动名词\n"
                            "New1 Lesson002T12#动名词\n"
                            "New2Lesson001T01#名词从句");
    const std::vector<std::string> list = LoadMarkList(root.path().string() + "/");
    std::vector<std::string> expected = BuiltinRows();
    expected.push_back("New1Lesson001T03#定语从句");
    expected.push_back("New1Lesson002T09#状语从句#定语从句");
    expected.push_back("New2Lesson001T01#名词从句");
    EXPECT_EQ(list, expected);
    EXPECT_TRUE(HasMark(list, "New1Lesson002T09", "定语从句"));
    EXPECT_FALSE(HasMark(list, "New1Lesson002T12", "动名词"));
}

TEST(LoadMarkList, ReadsAFileThatIsNotUtf8AsGb18030)
{
    TempFolder root;
    root.Write("marks.txt", Gb18030("New1Lesson001T03#定语从句\r\nNew1Lesson001T04#动名词#现在分词\r\n"));
    const std::vector<std::string> list = LoadMarkList(root.path().string());
    ASSERT_EQ(list.size(), BuiltinRows().size() + 2);
    EXPECT_EQ(list[list.size() - 2], "New1Lesson001T03#定语从句");
    EXPECT_EQ(list.back(), "New1Lesson001T04#动名词#现在分词");
}

TEST(LoadMarkList, AnEmptyOrUnreadableFileAddsNothing)
{
    TempFolder root;
    root.Write("marks.txt", "");
    EXPECT_EQ(LoadMarkList(root.path().string()), BuiltinRows());
    fs::remove(root.path() / "marks.txt");
    fs::create_directory(root.path() / "marks.txt");
    EXPECT_EQ(LoadMarkList(root.path().string()), BuiltinRows());
}

} // namespace
