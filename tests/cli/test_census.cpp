#include "Census.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "Cli.h"
#include "CliRunning.h"
#include "TempFolder.h"
#include "grammar/RuleTable.h"
#include "grammar/TopicTableMatcher.h"
#include "library/Library.h"
#include "search/TopicSearch.h"

using namespace lectoria;
using lectoria::test::TempFolder;

using lectoria::test::Cli;
using lectoria::test::CliRun;

namespace {

const grammar::RuleTable& Table()
{
    return lectoria::grammar::BuiltInRuleTable();
}

// Two books of sentences made of the table's own entries, with marks confirming some sentences
// for the markable clause topics.
class CensusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::set<std::string> pieces;
        for (const std::string& topic : grammar::SelectableTopics(Table())) {
            for (const std::string& field : grammar::SplitList(grammar::SelectedRuleString(Table(), topic), '+')) {
                for (std::string entry : grammar::SplitList(field, '/')) {
                    entry.erase(0, entry.find_first_not_of(' '));
                    entry.erase(entry.find_last_not_of(' ') + 1);
                    // Names hold no '/', '\\' or NUL; '?' is stored as '^'.
                    if (!entry.empty() && entry.find_first_of("/\\") == std::string::npos) {
                        pieces.insert(entry);
                    }
                }
            }
        }
        const std::vector<std::string> all(pieces.begin(), pieces.end());
        std::mt19937 random(5);
        std::string marks;
        m_books = library::BookNames()[0] + "/" + library::BookNames()[2];
        for (const std::string& book : {library::BookNames()[0], library::BookNames()[2]}) {
            for (int lesson = 1; lesson <= 3; ++lesson) {
                const std::string lessonName = "Lesson 00" + std::to_string(lesson) + " Mixed";
                for (int n = 1; n <= 40; ++n) {
                    std::string title = (n < 10 ? "0" : "") + std::to_string(n) + " ";
                    for (int w = std::uniform_int_distribution<int>(1, 5)(random); w > 0; --w) {
                        title += all[std::uniform_int_distribution<std::size_t>(0, all.size() - 1)(random)];
                        title += w == 1 ? (n % 3 == 0 ? "?" : ".") : " ";
                    }
                    if (title.size() > 200) {
                        title.resize(200);
                    }
                    // Clause sentences that the marks below confirm, so the marked topics count something.
                    if (n % 8 == 0) {
                        title = std::to_string(n) + " The man who lives here is the friend that I like.";
                    } else if (n % 8 == 4) {
                        title = std::to_string(n) + " I know that what he says is right.";
                    }
                    m_root.Write(book + "/" + lessonName + "/" + library::TitleToFileName(title) + ".sau");
                    if (n % 4 == 0) {
                        const std::string item = book + "\\" + lessonName + "\\" + title;
                        marks += library::SentenceId(item) + (n % 8 == 0 ? "#定语从句\n" : "#名词从句\n");
                    }
                }
            }
        }
        m_root.Write("marks.txt", marks);
    }

    TempFolder m_root;
    std::string m_books;
};

std::size_t Lines(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(CensusTest, EqualsASearchForEachTopicOfASampleFromEveryFamily)
{
    const CliRun census = Cli({"census", "--root", m_root.path().string(), "--books", m_books});
    ASSERT_EQ(census.status, 0) << census.err;
    const std::vector<std::string> topics = grammar::SelectableTopics(Table());
    std::vector<std::string> lines = grammar::SplitList(census.out, '\n');
    ASSERT_EQ(lines.back(), "");
    lines.pop_back();
    ASSERT_EQ(lines.size(), topics.size());

    // Every parent (one family each) with up to four of its topics, spread over its list.
    std::map<std::string, std::vector<std::size_t>> byParent;
    for (std::size_t t = 0; t < topics.size(); ++t) {
        byParent[topics[t].substr(0, topics[t].find('+'))].push_back(t);
        // A grandchild name may hold a tab itself: the count follows the last one.
        ASSERT_EQ(lines[t].substr(0, lines[t].rfind('\t')), topics[t]);
    }
    std::size_t nonZero = 0;
    std::size_t checked = 0;
    for (const auto& [parent, indexes] : byParent) {
        const std::size_t step = std::max<std::size_t>(1, indexes.size() / 4);
        for (std::size_t k = 0; k < indexes.size(); k += step) {
            const std::size_t t = indexes[k];
            const CliRun search =
                Cli({"search", "--root", m_root.path().string(), "--books", m_books, "--topic", topics[t]});
            ASSERT_EQ(search.status, 0) << topics[t] << ": " << search.err;
            EXPECT_EQ(lines[t], topics[t] + "\t" + std::to_string(Lines(search.out)));
            nonZero += Lines(search.out) > 0 ? 1 : 0;
            ++checked;
        }
    }
    // The marked clause topics are searched with their marks, as the search does.
    for (const char* topic : {"从句+定语从句", "从句+名词从句", "从句+状语从句"}) {
        const auto found = std::find(topics.begin(), topics.end(), topic);
        ASSERT_NE(found, topics.end()) << topic;
        const CliRun search = Cli({"search", "--root", m_root.path().string(), "--books", m_books, "--topic", topic});
        if (std::string(topic) != "从句+状语从句") {
            EXPECT_GT(Lines(search.out), 2u) << topic;
        }
        EXPECT_EQ(lines[static_cast<std::size_t>(found - topics.begin())],
                  std::string(topic) + "\t" + std::to_string(Lines(search.out)));
    }
    EXPECT_GT(byParent.size(), 5u);
    EXPECT_GT(nonZero, checked / 3);
}

TEST_F(CensusTest, SearchGivesTheSameResultsOnEitherEngineAndAnyNumberOfThreads)
{
    struct Case
    {
        const char* topic;
        const char* allText;
        const char* anyText;
    };
    const Case cases[] = {
        {"所有+所有+所有", "", ""},          {"时态+现在一般时", "", ""},    {"从句+定语从句", "", ""},
        {"所有+所有+所有", "?", "the/a/is"}, {"时态+现在一般时", "", "?/."},
    };
    for (const Case& c : cases) {
        search::SearchRequest request;
        request.strFullPath = (m_root.path() / "Book" / "Lesson").string();
        request.strSubjectBook = m_books;
        request.strSubjectGrammar = c.topic;
        request.allText = c.allText;
        request.anyText = c.anyText;
        request.engine = grammar::MatchEngine::Plain;
        request.threads = 1;
        const search::SearchResults reference = search::RunTopicSearch(Table(), request);
        EXPECT_FALSE(reference.empty()) << c.topic;
        request.engine = grammar::MatchEngine::Fast;
        for (const int threads : {1, 2, 5}) {
            request.threads = threads;
            const search::SearchResults results = search::RunTopicSearch(Table(), request);
            EXPECT_EQ(results.Items(), reference.Items()) << c.topic << ' ' << threads;
            EXPECT_EQ(results.Highlights(), reference.Highlights()) << c.topic << ' ' << threads;
        }
    }
}

// Results are kept in blocks of a megabyte: a search that finds more crosses from block to block,
// inside a lesson and between the lessons of two threads.
TEST(SearchResults, ItemsAcrossTextBlocksMatchTheLessonLists)
{
    TempFolder root;
    const std::string book = library::BookNames()[1];
    const std::string tail(150, 'x');
    std::vector<std::string> expected;
    for (int lesson = 1; lesson <= 3; ++lesson) {
        const std::string lessonName = "Lesson 00" + std::to_string(lesson) + " Long";
        for (int n = 1000; n < 4000; ++n) {
            root.Write(book + "/" + lessonName + "/" + std::to_string(n) + " " + tail + ".sau", "");
        }
        for (const std::string& title : library::FillLessonList((root.path() / book / lessonName).string())) {
            expected.push_back(book + "\\" + lessonName + "\\" + title);
        }
    }
    search::SearchRequest request;
    request.strFullPath = (root.path() / book / "Lesson 001 Long").string();
    request.strSubjectBook = book;
    request.strSubjectGrammar = "所有+所有+所有";
    for (const int threads : {1, 2}) {
        request.threads = threads;
        const search::SearchResults results = search::RunTopicSearch(Table(), request);
        ASSERT_EQ(results.Items(), expected) << threads;
        for (const std::size_t i : {std::size_t{0}, std::size_t{15}, std::size_t{16}, std::size_t{2999},
                                    std::size_t{3000}, std::size_t{6007}, expected.size() - 1}) {
            EXPECT_EQ(results.Item(i), expected[i]) << i;
            EXPECT_EQ(results.Highlight(i), "") << i;
        }
    }
}

TEST(Census, RefusesMissingOrUnknownArguments)
{
    TempFolder root;
    EXPECT_EQ(Cli({"census", "--books", "X"}).status, cli::kUsageError);
    EXPECT_EQ(Cli({"census", "--root", root.path().string()}).status, cli::kUsageError);
    EXPECT_EQ(Cli({"census", "--root", root.path().string(), "--books", "No Such Book"}).status, cli::kUsageError);
    EXPECT_EQ(Cli({"census", "--root", root.path().string(), "--topic", "x"}).status, cli::kUsageError);
}

} // namespace
