#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LinkGrammarParser.h"
#include "TempFolder.h"
#include "analysis/Analysis.h"
#include "analysis/ParseCache.h"
#include "analysis/ParserSearch.h"
#include "analysis/RuleTopics.h"
#include "analysis/WordSpans.h"
#include "grammar/RuleTable.h"
#include "library/Library.h"
#include "search/TopicSearch.h"

namespace lectoria::analysis {
namespace {

namespace fs = std::filesystem;

platform::LinkGrammarParser& Parser()
{
    static platform::LinkGrammarParser parser;
    return parser;
}

struct Case
{
    const char* sentence;
    std::vector<Finding> expected;
    std::vector<std::string> absentTopics;
};

TEST(Derivation, FindsWhatATeacherWould)
{
    const std::vector<Case> cases = {
        {"I have finished my homework.", {{"时态+现在完成时", "have finished"}}, {"时态+过去一般时"}},
        {"I'll see you tomorrow.", {{"时态+将来一般时", "'ll see"}}, {}},
        {"She doesn't like coffee.", {{"时态+现在一般时", "doesn't like"}}, {}},
        {"Did you see him?", {{"时态+过去一般时", "did see"}, {"句型+一般疑问句", "did"}}, {}},
        {"Where are you going?", {{"时态+现在进行时", "are going"}, {"句型+特殊疑问句", "where"}}, {}},
        {"Have you ever been to Paris?", {{"时态+现在完成时", "have been"}}, {}},
        {"I'm going to visit my aunt.", {{"时态+将来一般时", "'m going to visit"}}, {"时态+现在进行时"}},
        {"They said they were going to move.", {{"时态+过去将来一般时", "were going to move"}}, {}},
        {"I used to play football.",
         {{"时态+过去一般时", "used"}, {"情态动词+带to情态动词", "used to"}},
         {"非谓动词+不定式"}},
        {"You must have seen it.", {{"情态动词+情态动词加完成时态", "must have seen"}}, {"时态+现在完成时"}},
        {"He got hurt.", {{"语态+过去一般时被动语态", "got hurt"}}, {}},
        {"The work has been done.", {{"语态+现在完成时被动语态", "has been done"}}, {}},
        {"The house is being built.", {{"语态+现在进行时被动语态", "is being built"}}, {"时态+现在一般时"}},
        {"She hasn't been told.", {{"语态+现在完成时被动语态", "hasn't been told"}}, {}},
        {"She is interested in music.", {{"时态+现在一般时", "is"}}, {"语态+现在一般时被动语态"}},
        {"He had been waiting for an hour.", {{"时态+过去完成进行时", "had been waiting"}}, {}},
        {"I'd finished my lunch before she called.",
         {{"时态+过去完成时", "'d finished"}, {"从句+状语从句", "before"}},
         {}},
        {"He said he would come.", {{"时态+过去将来一般时", "would come"}, {"从句+名词从句", "said he"}}, {}},
        {"The man who lives next door is a doctor.", {{"从句+定语从句", "who"}}, {}},
        {"I wonder if it will rain.", {{"从句+名词从句", "if"}}, {"从句+状语从句"}},
        {"Open the door.", {{"句型+祈使句", "open"}}, {"时态+现在一般时"}},
        {"Go straight on and turn left.", {{"句型+祈使句", "go"}}, {}},
        {"There were no chairs in the room.", {{"句型+There be", "there were"}}, {}},
        {"What are you doing?", {{"时态+现在进行时", "are doing"}}, {"从句+定语从句"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sentence);
        const ParserAnalysis analysis = AnalyseByParser(Parser(), c.sentence);
        ASSERT_EQ(analysis.status, ParseStatus::Complete);
        for (const Finding& expected : c.expected) {
            EXPECT_NE(std::find(analysis.findings.begin(), analysis.findings.end(), expected), analysis.findings.end())
                << expected.topic << " / " << expected.words;
        }
        for (const std::string& topic : c.absentTopics) {
            EXPECT_FALSE(FindingsShow(analysis.findings, topic)) << topic;
        }
    }
}

TEST(Derivation, PrefersThePassiveReadingOverTheAdjectivalOne)
{
    // The parser's first linkage reads "done" as an adjective.
    const ParseResult result = Parser().Parse("The work has been done.");
    ASSERT_EQ(result.status, ParseStatus::Complete);
    ASSERT_GT(result.linkages.size(), 1u);
    const Linkage& chosen = result.linkages[ChooseLinkage(result.linkages)];
    EXPECT_TRUE(std::any_of(chosen.links.begin(), chosen.links.end(),
                            [](const Link& link) { return link.label.rfind("Pv", 0) == 0; }));
}

TEST(Parser, SaysSoWhenItCannotJoinTheWords)
{
    for (const char* sentence : {"the of and the to of.", "", "   ", "?!.", "Door the open quickly the of."}) {
        SCOPED_TRACE(sentence);
        const ParserAnalysis analysis = AnalyseByParser(Parser(), sentence);
        EXPECT_NE(analysis.status, ParseStatus::Complete);
        EXPECT_FALSE(analysis.message.empty());
        EXPECT_TRUE(analysis.findings.empty());
    }
}

TEST(Parser, ALongSentenceEndsWithinItsTimeLimit)
{
    std::string sentence;
    while (sentence.size() < 580) {
        sentence += "the old man who saw the dog that chased the cat near the house with the telescope ";
    }
    sentence += ".";
    platform::LinkGrammarParser parser(1);
    const ParseResult refused = parser.Parse(sentence);
    EXPECT_EQ(refused.status, ParseStatus::NoCompleteLinkage);
    const ParseResult limited = parser.Parse(sentence.substr(0, 400) + ".");
    EXPECT_NE(limited.status, ParseStatus::Complete);
    EXPECT_NE(limited.status, ParseStatus::Failed);
}

/// Counts the parses it is asked for and answers with one finding.
class CountingParser : public IParser
{
public:
    ParseResult Parse(std::string_view sentence) override
    {
        ++calls;
        ParseResult result;
        result.status = ParseStatus::Complete;
        result.linkages.push_back(Linkage{{"LEFT-WALL", "he", "runs.v", "."}, {{1, 2, "Ss"}}, 0.0});
        lastSentence = std::string(sentence);
        return result;
    }
    int calls = 0;
    std::string lastSentence;
};

TEST(ParseCache, ParsesAChangedFileAgainAndDropsARemovedOne)
{
    test::TempFolder folder;
    std::string error;
    auto cache = ParseCache::Open((folder.path() / "data" / "parses.sqlite").string(), error);
    ASSERT_TRUE(cache) << error;
    const std::string file = (folder.path() / "1 He runs..sau").string();
    std::ofstream(file) << "x";
    CountingParser parser;

    const ParserAnalysis first = AnalyseFile(*cache, parser, file, "He runs.");
    const ParserAnalysis second = AnalyseFile(*cache, parser, file, "He runs.");
    EXPECT_EQ(parser.calls, 1);
    EXPECT_EQ(second.findings, first.findings);
    ASSERT_FALSE(second.findings.empty());
    EXPECT_EQ(second.findings.front().topic, "时态+现在一般时");

    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(5));
    AnalyseFile(*cache, parser, file, "He runs.");
    EXPECT_EQ(parser.calls, 2);
    EXPECT_EQ(cache->Size(), 1);

    std::filesystem::remove(file);
    EXPECT_EQ(cache->DropMissing(), 1);
    EXPECT_EQ(cache->Size(), 0);
}

TEST(ParserSearch, FindsWhatTheRulesMissInSearchOrderOnEveryThread)
{
    test::TempFolder folder;
    const std::string book = library::BookNames().front();
    // Many lessons, so that two threads each take some; the word-list rule for the present perfect
    // misses both the active and the passive sentence.
    for (int lesson = 1; lesson <= 6; ++lesson) {
        const std::string name = book + "/Lesson 00" + std::to_string(lesson) + " Homework/";
        folder.Write(name + "01 I have finished my homework..sau");
        folder.Write(name + "02 She finished her work..sau");
        folder.Write(name + "03 The work has been done..sau");
    }
    grammar::RuleTable table;
    grammar::BuildRuleTable(table);
    std::string error;
    std::unique_ptr<ParseCache> cache = ParseCache::Open((folder.path() / "parses.sqlite").string(), error);
    ASSERT_TRUE(cache) << error;
    ParseCache& kept = *cache;
    auto parser = std::make_unique<platform::LinkGrammarParser>();
    ASSERT_TRUE(parser->IsReady()) << parser->Error();
    auto desk = std::make_shared<ParserDesk>(std::move(parser), std::move(cache));

    search::SearchRequest request;
    request.strFullPath = (folder.path() / book / "Lesson 001 Homework").string();
    request.strSubjectBook = book;
    request.strSubjectGrammar = "时态+现在完成时";
    request.threads = 2;
    EXPECT_TRUE(search::RunTopicSearch(table, request).Items().empty());

    request.topicMatcher = ParserTopicMatcher(desk, request.strSubjectGrammar);
    ASSERT_TRUE(request.topicMatcher);
    const search::SearchResults results = search::RunTopicSearch(table, request);
    std::vector<std::string> expected;
    for (int lesson = 1; lesson <= 6; ++lesson) {
        const std::string lessonItem = book + "\\Lesson 00" + std::to_string(lesson) + " Homework\\";
        expected.push_back(lessonItem + "01 I have finished my homework.");
        expected.push_back(lessonItem + "03 The work has been done.");
    }
    EXPECT_EQ(results.Items(), expected);
    EXPECT_EQ(kept.Size(), 18);
    EXPECT_FALSE(ParserTopicMatcher(desk, "名词+er后缀")) << "a topic the parser does not cover";
}

TEST(ParserSearch, FillParsesWhatIsNotKeptAndStopsWhenCancelled)
{
    test::TempFolder folder;
    const std::string book = library::BookNames().front();
    for (const char* name :
         {"/Lesson 001 A/01 He runs..sau", "/Lesson 001 A/02 He sits..sau", "/Lesson 002 B/01 He walks..sau"}) {
        folder.Write(book + name);
    }
    std::string error;
    std::unique_ptr<ParseCache> cache = ParseCache::Open((folder.path() / "parses.sqlite").string(), error);
    ASSERT_TRUE(cache) << error;
    auto counting = std::make_unique<CountingParser>();
    CountingParser& parser = *counting;
    ParserDesk desk(std::move(counting), std::move(cache));
    std::vector<std::pair<int, int>> reports;
    const auto progress = [&reports](int done, int total) { reports.emplace_back(done, total); };

    EXPECT_TRUE(FillParseCache(desk, folder.path().string(), book, progress, nullptr));
    EXPECT_EQ(parser.calls, 3);
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_TRUE(desk.IsKept((folder.path() / (book + "/Lesson 002 B/01 He walks..sau")).string()));

    // Kept findings are not parsed again; a changed file is.
    const fs::path changed = folder.path() / (book + "/Lesson 001 A/02 He sits..sau");
    fs::last_write_time(changed, fs::last_write_time(changed) + std::chrono::seconds(5));
    EXPECT_TRUE(FillParseCache(desk, folder.path().string(), book, {}, nullptr));
    EXPECT_EQ(parser.calls, 4);

    const std::atomic<bool> cancelled{true};
    fs::last_write_time(changed, fs::last_write_time(changed) + std::chrono::seconds(5));
    EXPECT_FALSE(FillParseCache(desk, folder.path().string(), book, {}, &cancelled));
    EXPECT_EQ(parser.calls, 4);
}

TEST(ParseCache, AnUnwritableFolderIsAnError)
{
    std::string error;
    EXPECT_FALSE(ParseCache::Open("/proc/lectoria/parses.sqlite", error));
    EXPECT_FALSE(error.empty());
}

TEST(RuleTopics, EveryMatchingTopicWithItsWords)
{
    grammar::RuleTable table;
    grammar::BuildRuleTable(table);
    const grammar::TopicTableMatcher matcher(table);
    const std::vector<RuleTopic> found = RuleTopicsOf(matcher, "There is a book on the table.");
    const std::vector<grammar::TopicMatch> everyTopic = grammar::AllTopicsOf(matcher, "there is a book on the table.");
    ASSERT_TRUE(std::any_of(everyTopic.begin(), everyTopic.end(),
                            [](const grammar::TopicMatch& topic) { return topic.selection == "句型+主谓"; }));
    const auto thereBe = std::find_if(found.begin(), found.end(),
                                      [](const RuleTopic& topic) { return topic.selection == "句型+There be"; });
    ASSERT_NE(thereBe, found.end());
    EXPECT_FALSE(thereBe->matchedWords.empty());
    for (const RuleTopic& topic : found) {
        EXPECT_EQ(topic.selection.find(grammar::kAllTopics), std::string::npos) << topic.selection;
        // Topics whose rule holds no word ("句型+主谓", "感叹词+拟音词") pass every sentence and say
        // nothing about this one.
        EXPECT_NE(grammar::SelectedRuleString(table, topic.selection), "++++") << topic.selection;
        const grammar::MatchResult single =
            grammar::MatchRule(grammar::SelectRule(table, topic.selection), "there is a book on the table.");
        EXPECT_TRUE(single.verdict) << topic.selection;
    }
}

TEST(WordSpans, WholeWordsIgnoringCaseWithContractionsAndWordEdges)
{
    struct SpanCase
    {
        const char* sentence;
        const char* words;
        bool fromRules;
        std::vector<WordSpan> expected;
    };
    const std::vector<SpanCase> cases = {
        {"I have finished my homework.", "have finished", false, {{2, 4}, {7, 8}}},
        {"I'll see you tomorrow.", "'ll see", false, {{1, 3}, {5, 3}}},
        {"Have you HAVE?", "have", false, {{0, 4}, {9, 4}}},
        {"Behave, have.", "have", false, {{8, 4}}},
        // Rules: a blank asks for a word edge; no blank lets the piece sit inside a word.
        {"I see the sea.", " see /", true, {{2, 3}}},
        {"Seeing is seeing.", " see/", true, {{0, 3}, {10, 3}}},
        {"It has been done.", " has been / done ", true, {{3, 8}, {12, 4}}},
        {"Nothing here.", " see /", true, {}},
        {"Anything.", "", true, {}},
    };
    for (const SpanCase& c : cases) {
        const std::vector<WordSpan> spans =
            c.fromRules ? MatchedWordSpans(c.sentence, c.words) : FindingSpans(c.sentence, c.words);
        EXPECT_EQ(spans, c.expected) << c.sentence << " / " << c.words;
    }
}

TEST(Selections, TwoLevelsAndCoverage)
{
    EXPECT_EQ(TwoLevels("时态+现在完成时"), "时态+现在完成时");
    EXPECT_EQ(TwoLevels("名词+er后缀+teacher"), "名词+er后缀");
    EXPECT_EQ(TwoLevels("时态+所有+所有"), "时态");
    EXPECT_TRUE(ParserCovers("语态+现在完成时被动语态"));
    EXPECT_FALSE(ParserCovers("语态+形式上的被动语态"));
    EXPECT_FALSE(ParserCovers("名词+er后缀"));
    EXPECT_TRUE(ParserCovers("句型+There be"));
}

} // namespace
} // namespace lectoria::analysis
