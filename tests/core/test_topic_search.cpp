#include "search/TopicSearch.h"

#include <atomic>
#include <filesystem>
#include <utility>

#include <gtest/gtest.h>

#include "RuleTesting.h"
#include "Gb18030.h"
#include "TempFolder.h"
#include "library/Library.h"

using namespace lectoria::search;
using lectoria::test::BuiltRuleTable;
using lectoria::test::Gb18030;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

struct TopicWordsCase
{
    const char* allText;
    const char* anyText;
    Strings allWords;
    Strings anyWords;
};

TEST(PrepareTopicWords, LowerCasesSplitsAndPadsLetterEnds)
{
    const TopicWordsCase cases[] = {
        {"Cat", "", {" cat "}, {""}},
        {"o'clock/$5/2nd", "", {" o'clock ", "$5", "2nd "}, {""}},
        {"", "Cat/DOG", {""}, {" cat ", " dog "}},
        {"a//b", "cat/", {" a ", "", " b "}, {" cat ", ""}},
        {"new york", "'em/x'", {" new york "}, {"'em ", " x'"}},
        {"", "", {""}, {""}},
    };
    for (const TopicWordsCase& c : cases) {
        const TopicWords words = PrepareTopicWords(c.allText, c.anyText);
        EXPECT_EQ(words.allWords, c.allWords) << c.allText;
        EXPECT_EQ(words.anyWords, c.anyWords) << c.anyText;
    }
}

struct TopicMatchCase
{
    const char* allText;
    const char* anyText;
    const char* sentence; // lower-case, without its number
    bool pass;
    const char* anyHit;
};

TEST(MatchTopicWords, AllOfNeedsEveryWordAnyOfTheFirstThatOccurs)
{
    const TopicMatchCase cases[] = {
        {"Cat/dog", "", "the dog saw a cat.", true, ""},
        {"Cat/dog", "", "the dog saw the cats.", false, ""},
        {"cat", "", "cat, come here!", true, ""},
        {"o'clock", "", "it's five o'clock.", true, ""},
        {"cat//", "", "a cat.", true, ""},
        {"", "cat/dog", "my dog and my cat.", true, " cat "},
        {"", "cat/dog", "a dog barks.", true, " dog "},
        {"", "cat/dog", "a bird sings.", false, ""},
        // A last empty piece lets every sentence through; an earlier one does not.
        {"", "cat/", "a bird sings.", true, ""},
        {"", "/cat", "a bird sings.", false, ""},
        {"", "/cat", "a cat sings.", true, " cat "},
        {"", "", "anything at all.", true, ""},
        {"bird", "cat/dog", "a dog and a bird.", true, " dog "},
        {"bird", "cat/dog", "a dog and a cow.", false, " dog "},
    };
    for (const TopicMatchCase& c : cases) {
        const TopicWords words = PrepareTopicWords(c.allText, c.anyText);
        const TopicWordMatch match = MatchTopicWords(words, c.sentence);
        EXPECT_EQ(match.pass, c.pass) << c.allText << '+' << c.anyText << " on " << c.sentence;
        EXPECT_EQ(match.anyHit, c.anyHit) << c.allText << '+' << c.anyText << " on " << c.sentence;
    }
}

TEST(ExpandHighlights, WholeWordsGetEightPatternsOtherTextSix)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/ cat ", " cat / cat./ cat,/ cat'/ cat!/ cat?/cat'/cat "},
        {"$/5/", "$ /$./$,/$'/$!/$?/5 /5./5,/5'/5!/5?"},
        {" an //Cat", " an / an./ an,/ an'/ an!/ an?/an'/an /Cat /Cat./Cat,/Cat'/Cat!/Cat?"},
        {"ing /", "ing /ing./ing,/ing'/ing!/ing?"},
        // Only one blank is dropped at each end.
        {"  two", "  two /  two./  two,/  two'/  two!/  two?/ two'/ two "},
        {"", ""},
        {"/", ""},
        {"// /", ""},
    };
    for (const auto& [info, patterns] : cases) {
        EXPECT_EQ(ExpandHighlights(info), patterns) << '"' << info << '"';
    }
    Strings infos = {"/ cat ", "", "$/5/"};
    ExpandHighlights(infos);
    EXPECT_EQ(infos, (Strings{ExpandHighlights("/ cat "), "", ExpandHighlights("$/5/")}));
}

TEST(TopicWordPair, AllOfBeforeTheFirstPlusAnyOfAfterTheLast)
{
    EXPECT_EQ(AllOfText("cat/dog+bird"), "cat/dog");
    EXPECT_EQ(AnyOfText("cat/dog+bird"), "bird");
    EXPECT_EQ(AllOfText("a+b+c"), "a");
    EXPECT_EQ(AnyOfText("a+b+c"), "c");
    EXPECT_EQ(AllOfText("would+"), "would");
    EXPECT_EQ(AnyOfText("would+"), "");
    EXPECT_EQ(AllOfText("no plus"), "");
    EXPECT_EQ(AnyOfText("no plus"), "");
}

TEST(TopicSelectionTest, ComposesTheStoredStringsThatTheWordPairSplitsAgain)
{
    struct Case
    {
        Strings books;
        std::string all, any, parent, child, grandchild;
        std::string book, word, grammar;
    };
    const Case cases[] = {
        {{"Book A", "Book B"},
         "Cat/Dog",
         "BIRD",
         "代词",
         "主格人称代词",
         "she",
         "Book A/Book B",
         "cat/dog+bird",
         "代词+主格人称代词+she"},
        {{"Book A"}, "", "", "时态", "现在完成时", "", "Book A", "+", "时态+现在完成时"},
        {{}, "would", "", "所有", "所有", "所有", "", "would+", "所有+所有+所有"},
    };
    for (const Case& c : cases) {
        const TopicSelection selection = ComposeTopicSelection(c.books, c.all, c.any, c.parent, c.child, c.grandchild);
        EXPECT_EQ(selection.strSubjectBook, c.book);
        EXPECT_EQ(selection.strSubjectWord, c.word);
        EXPECT_EQ(selection.strSubjectGrammar, c.grammar);
        EXPECT_EQ(AllOfText(selection.strSubjectWord), lectoria::grammar::ToLowerAscii(c.all));
        EXPECT_EQ(AnyOfText(selection.strSubjectWord), lectoria::grammar::ToLowerAscii(c.any));
    }
}

// Two books; lesson folders that sort differently by case, a folder that is no lesson, one
// whose name holds a '.', a title stored with '^' and one without a number.
class TopicSearchTest : public testing::Test
{
protected:
    static constexpr const char* kBook1 = "New Concept English Book 1";
    static constexpr const char* kSongs = "Some English Songs";

    TopicSearchTest()
    {
        for (const char* file : {
                 "New Concept English Book 1/Lesson 001 Cats/01 The cat that I saw was black..sau",
                 "New Concept English Book 1/Lesson 001 Cats/02 Cats like fish..sau",
                 "New Concept English Book 1/Lesson 001 Cats/03 Is it your cat^.sau",
                 "New Concept English Book 1/lesson 010 Late/01 I know that he is late..sau",
                 "New Concept English Book 1/Lesson 002 Dogs/02 An old dog^.sau",
                 "New Concept English Book 1/Lesson 002 Dogs/01 A dog and a cat..sau",
                 "New Concept English Book 1/Lesson 002 Dogs/12 Where is it^.sau",
                 "New Concept English Book 1/Pictures/01 A cat in a picture..sau",
                 "New Concept English Book 1/Lesson.bak/01 A cat in a backup..sau",
                 "Some English Songs/Lesson 001 Songs/01 The dog that barks..sau",
                 "Some English Songs/Lesson 001 Songs/02 Sing a song..sau",
                 "Some English Songs/Lesson 001 Songs/Chorus.sau",
             }) {
            m_root.Write(file);
        }
    }

    SearchRequest Request(std::string books, std::string all, std::string any, std::string topic) const
    {
        SearchRequest request;
        request.strFullPath = (m_root.path() / kBook1 / "Lesson 001 Cats").string();
        request.strSubjectBook = std::move(books);
        request.allText = std::move(all);
        request.anyText = std::move(any);
        request.strSubjectGrammar = std::move(topic);
        return request;
    }

    TempFolder m_root;
};

struct SearchCase
{
    const char* books;
    const char* allText;
    const char* anyText;
    const char* topic;
    Strings items;
};

TEST_F(TopicSearchTest, ListsResultsByBookLessonAndSentenceOrder)
{
    const std::string cats = "New Concept English Book 1\\Lesson 001 Cats\\";
    const std::string dogs = "New Concept English Book 1\\Lesson 002 Dogs\\";
    const std::string late = "New Concept English Book 1\\lesson 010 Late\\";
    const std::string backup = "New Concept English Book 1\\Lesson.bak\\";
    const std::string songs = "Some English Songs\\Lesson 001 Songs\\";
    const SearchCase cases[] = {
        {"Some English Songs/Missing Book/New Concept English Book 1",
         "",
         "",
         "所有+所有+所有",
         {songs + "01 The dog that barks.", songs + "02 Sing a song.", songs + "Chorus",
          cats + "01 The cat that I saw was black.", cats + "02 Cats like fish.", cats + "03 Is it your cat?",
          dogs + "01 A dog and a cat.", dogs + "02 An old dog?", dogs + "12 Where is it?",
          late + "01 I know that he is late.", backup + "01 A cat in a backup."}},
        {"New Concept English Book 1",
         "Cat",
         "",
         "所有+所有",
         {cats + "01 The cat that I saw was black.", cats + "03 Is it your cat?", dogs + "01 A dog and a cat.",
          backup + "01 A cat in a backup."}},
        {"New Concept English Book 1/Some English Songs",
         "",
         "where/chorus",
         "所有+所有+所有",
         {dogs + "12 Where is it?", songs + "Chorus"}},
        {"New Concept English Book 1/Some English Songs", "", "", "冠词+an", {dogs + "02 An old dog?"}},
        {"New Concept English Book 1/Some English Songs",
         "",
         "",
         "冠词+the",
         {cats + "01 The cat that I saw was black.", songs + "01 The dog that barks."}},
        {"", "", "", "所有+所有+所有", {}},
    };
    for (const SearchCase& c : cases) {
        const SearchResults results = RunTopicSearch(BuiltRuleTable(), Request(c.books, c.allText, c.anyText, c.topic));
        EXPECT_FALSE(results.cancelled);
        EXPECT_EQ(results.Items(), c.items) << c.books << " / " << c.allText << '+' << c.anyText << " / " << c.topic;
        EXPECT_EQ(results.Highlights().size(), results.size());
    }
}

TEST_F(TopicSearchTest, HighlightsJoinMatchedWordsAnyHitAndTheAllOfTextAsTyped)
{
    const SearchResults byArticle = RunTopicSearch(BuiltRuleTable(), Request(kBook1, "", "cow/dog", "冠词+an"));
    ASSERT_EQ(byArticle.Highlights().size(), 1u);
    EXPECT_EQ(byArticle.Highlights()[0], ExpandHighlights(" an // dog "));

    const SearchResults byWords = RunTopicSearch(BuiltRuleTable(), Request(kBook1, "Cat/A", "", "所有+所有+所有"));
    ASSERT_EQ(byWords.size(), 2u);
    EXPECT_EQ(byWords.Items()[0], "New Concept English Book 1\\Lesson 002 Dogs\\01 A dog and a cat.");
    EXPECT_EQ(byWords.Items()[1], "New Concept English Book 1\\Lesson.bak\\01 A cat in a backup.");
    EXPECT_EQ(byWords.Highlights()[0], "Cat /Cat./Cat,/Cat'/Cat!/Cat?/A /A./A,/A'/A!/A?");
}

TEST_F(TopicSearchTest, AMarkableTopicKeepsOnlyMarkedSentences)
{
    // Three sentences pass the relative-clause rule; the library's own marks confirm one of them.
    m_root.Write("marks.txt", "New1Lesson001T01#定语从句\n"
                              "SomeSongsLesson001T01 定语从句\n"
                              "SomeSongsLesson001T02#定语从句\n"
                              "New1Lesson010T01#名词从句\n");
    const SearchResults relative = RunTopicSearch(
        BuiltRuleTable(), Request("New Concept English Book 1/Some English Songs", "", "", "从句+定语从句"));
    EXPECT_EQ(relative.Items(),
              (Strings{"New Concept English Book 1\\Lesson 001 Cats\\01 The cat that I saw was black."}));
    EXPECT_EQ(relative.Highlights(), (Strings{ExpandHighlights(" that /")}));

    // Adverbial clauses are tagged in the data but never confirmed by a mark.
    const SearchResults adverbial =
        RunTopicSearch(BuiltRuleTable(), Request("Some English Songs", "", "", "从句+状语从句"));
    EXPECT_TRUE(adverbial.empty());
    m_root.Write("Some English Songs/Lesson 001 Songs/03 Sing when you are happy..sau");
    EXPECT_EQ(RunTopicSearch(BuiltRuleTable(), Request("Some English Songs", "", "", "从句+状语从句")).Items(),
              (Strings{"Some English Songs\\Lesson 001 Songs\\03 Sing when you are happy."}));
}

TEST_F(TopicSearchTest, ReportsTheTotalFirstThenOneStepPerLessonFolder)
{
    // Four lesson folders of book 1 (one of them with a '.' in its name), none of the missing
    // book, one of the songs: every folder searched is counted, and only those.
    std::vector<std::pair<int, int>> steps;
    const SearchResults results = RunTopicSearch(
        BuiltRuleTable(), Request("New Concept English Book 1/Missing/Some English Songs", "", "", "所有+所有"),
        [&steps](int done, int total) { steps.emplace_back(done, total); });
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_EQ(results.size(), 11u);
    EXPECT_EQ(results.problems, (Strings{"找不到课本文件夹: " + (m_root.path() / "Missing").string()}));
}

TEST(ProblemSummaryTest, OneLineWhateverTheCount)
{
    EXPECT_EQ(ProblemSummary({}), "");
    EXPECT_EQ(ProblemSummary({"找不到课本文件夹: /a"}), "找不到课本文件夹: /a");
    EXPECT_EQ(ProblemSummary({"找不到课本文件夹: /a", "没有读取课文文件夹的权限: /b", "找不到课本文件夹: /c"}),
              "找不到课本文件夹: /a (另有 2 处无法读取)");
}

TEST_F(TopicSearchTest, UnusualNamesAreSearchedAndListedWhole)
{
    // A title holding '\\', a title and a lesson folder whose names are GBK, not UTF-8.
    const fs::path mixed = fs::path(kSongs) / "Lesson 020 Mixed";
    m_root.Write(mixed / "01 Either\\or..sau");
    m_root.Write(mixed / ("02 " + Gb18030("狗") + " dog..sau"));
    m_root.Write(fs::path(kSongs) / ("Lesson 021 " + Gb18030("杂项")) / "01 Fine..sau");
    const std::string songs = "Some English Songs\\Lesson 001 Songs\\";
    const std::string prefix = "Some English Songs\\Lesson 020 Mixed\\";
    const SearchResults results = RunTopicSearch(BuiltRuleTable(), Request(kSongs, "", "", "所有+所有"));
    EXPECT_EQ(results.Items(), (Strings{songs + "01 The dog that barks.", songs + "02 Sing a song.", songs + "Chorus",
                                        prefix + "01 Either\\or.", prefix + "02 狗 dog.",
                                        "Some English Songs\\Lesson 021 杂项\\01 Fine."}));
    EXPECT_TRUE(results.problems.empty());
}

TEST_F(TopicSearchTest, CancellingBetweenLessonFoldersReturnsNothing)
{
    std::atomic<bool> cancel{false};
    std::vector<int> done;
    const SearchResults stopped = RunTopicSearch(
        BuiltRuleTable(), Request("New Concept English Book 1/Some English Songs", "", "", "所有+所有"),
        [&](int step, int) {
            done.push_back(step);
            if (step == 2) {
                cancel = true;
            }
        },
        &cancel);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.empty());
    EXPECT_TRUE(stopped.Highlights().empty());
    EXPECT_EQ(done, (std::vector<int>{0, 1, 2}));

    const SearchResults never = RunTopicSearch(BuiltRuleTable(), Request(kSongs, "", "", "所有+所有"), {}, &cancel);
    EXPECT_TRUE(never.cancelled);
    EXPECT_TRUE(never.empty());
}

} // namespace
