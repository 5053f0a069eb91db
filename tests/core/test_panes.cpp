#include "reading/Panes.h"

#include <gtest/gtest.h>

using namespace lectoria::reading;

namespace {

TEST(FitFontHeight, ScalesWithTheAreaPerCharacter)
{
    const std::string hundred = std::string(49, 'a') + " " + std::string(50, 'b');
    EXPECT_EQ(FitFontHeight(hundred, 600, 200), 48);
    const std::string twenty = "abcdefghi abcdefghij";
    EXPECT_EQ(FitFontHeight(twenty, 600, 200), 87); // 109 scaled by 80 / 100
    const std::string fifty = std::string(24, 'a') + " " + std::string(25, 'b');
    EXPECT_EQ(FitFontHeight(fifty, 600, 200), 62); // 69 scaled by 90 / 100
}

TEST(FitFontHeight, OneLongWordAndFlatPanes)
{
    // No blank: the pane's height, unless the word would be wider than the pane.
    EXPECT_EQ(FitFontHeight("word", 600, 200), 200);
    EXPECT_EQ(FitFontHeight("abcdefghijklmnopqrst", 600, 200), 60);
    // A pane more than 15 times wider than high takes 90 % of its height.
    EXPECT_EQ(FitFontHeight("a short one", 1600, 100), 90);
    EXPECT_EQ(FitFontHeight("a longer text of some forty characters.", 1600, 100), 82);
}

TEST(FitFontHeight, EmptyTextOrPaneGivesASaneHeight)
{
    EXPECT_EQ(FitFontHeight("", 600, 200), 200);
    EXPECT_EQ(FitFontHeight("text", 0, 0), 1);
}

TEST(CurrentSentenceText, DropsTheNumberAndPadsAnUnpunctuatedPiece)
{
    EXPECT_EQ(CurrentSentenceText("05 Is it your coat?"), "Is it your coat?");
    EXPECT_EQ(CurrentSentenceText("03 Is this your"), "Is this your ");
    EXPECT_EQ(CurrentSentenceText("04 ten pounds 5"), "ten pounds 5");
    EXPECT_EQ(CurrentSentenceText("12"), "");
    EXPECT_EQ(CurrentSentenceText("Excuse me!"), "Excuse me!") << "a title without a number is all sentence";
}

TEST(ComposeWholeSentence, APieceWithoutANumberStandsAlone)
{
    const WholeSentence whole = ComposeWholeSentence({"01 Hello.", "Excuse me!", "03 Bye."}, "Excuse me!");
    EXPECT_EQ(whole.pieces, (std::vector<std::string>{"Excuse me!"}));
    EXPECT_EQ(whole.currentPiece, 0);
}

TEST(FitSeconds, LengthAndDigits)
{
    EXPECT_EQ(FitSeconds(std::string(26, 'a')), 2);
    EXPECT_EQ(FitSeconds("abcdefgh12"), 2);
    EXPECT_EQ(FitSeconds("abcde"), 1);
    EXPECT_EQ(FitSeconds(""), 1);
    // The trailing blank of an unpunctuated piece counts.
    EXPECT_EQ(FitSeconds(CurrentSentenceText("01 " + std::string(25, 'a'))), 2);
    EXPECT_EQ(FitSeconds(CurrentSentenceText("01 " + std::string(25, 'A'))), 1);
}

TEST(BookAbbrev, TheNineBooks)
{
    const std::pair<const char*, const char*> cases[] = {
        {"New Concept English Book 1", "New..1"},
        {"New Concept English Book 4", "New..4"},
        {"Primary English For China", "Pri..China"},
        {"Oxford Junior English", "Oxf..English"},
        {"Some English Movings", "Movings"},
        {"Some English News and Speakings", "Speakings"},
        {"Some English Songs", "Songs"},
    };
    for (const auto& [book, abbrev] : cases) {
        EXPECT_EQ(BookAbbrev(book), abbrev) << book;
    }
}

TEST(StatusLineText, TextAndTopicMode)
{
    StatusInput text;
    text.strFullPath = "/lib/New Concept English Book 1/Lesson 001 Excuse me";
    EXPECT_EQ(StatusLineText(text), "当前课文:New Concept English Book 1 Lesson 001 Excuse me 未选择");
    text.chosenCount = 9;
    text.nNowPlayNum = 4;
    EXPECT_EQ(StatusLineText(text),
              "当前课文:New Concept English Book 1 Lesson 001 Excuse me 共选择9句,当前显示第4句.");
    text.isReading = true;
    text.repeatRound = 2;
    EXPECT_EQ(StatusLineText(text),
              "当前课文:New Concept English Book 1 Lesson 001 Excuse me 共选择9句,正第2次朗读第4句.");

    StatusInput topic;
    topic.isSelectSubject = true;
    topic.strSubjectWord = "cat+";
    topic.strSubjectGrammar = "时态+现在完成时";
    topic.strSubjectBook = "New Concept English Book 1/Some English Songs";
    EXPECT_EQ(StatusLineText(topic), "主题模式 主题词为:cat+ 语法主题为:时态+现在完成时 在 New..1/Songs 范围内 未选择");
}

TEST(ComposeWholeSentence, PiecesAroundTheCurrentOne)
{
    const std::vector<std::string> items = {"01 Hello.",       "02 Excuse me.",  "03 Is this your", "04 book?",
                                            "05 When I came,", "06 he had gone", "07 home."};
    const WholeSentence four = ComposeWholeSentence(items, items[3]);
    EXPECT_EQ(four.pieces, (std::vector<std::string>{"Is this your ", "book?"}));
    EXPECT_EQ(four.currentPiece, 1);
    const WholeSentence three = ComposeWholeSentence(items, items[2]);
    EXPECT_EQ(three.pieces, four.pieces);
    EXPECT_EQ(three.currentPiece, 0);
    const WholeSentence six = ComposeWholeSentence(items, items[5]);
    EXPECT_EQ(six.pieces, (std::vector<std::string>{"When I came, ", "he had gone ", "home."}));
    EXPECT_EQ(six.currentPiece, 1);
    const WholeSentence alone = ComposeWholeSentence(items, items[0]);
    EXPECT_EQ(alone.pieces, std::vector<std::string>{"Hello."});
    EXPECT_EQ(alone.currentPiece, -1);
    // The last piece never ends its sentence: the sentence runs to the end of the list.
    const std::vector<std::string> open = {"01 One", "02 two"};
    EXPECT_EQ(ComposeWholeSentence(open, open[0]).pieces, (std::vector<std::string>{"One ", "two"}));
}

TEST(PaneTexts, TopicLessonAndNote)
{
    EXPECT_EQ(TopicLessonText("New Concept English Book 1\\Lesson 001 Excuse me\\05 Is it your coat?"),
              "Current Text:New Concept English Book 1\\Lesson 001 Excuse me");
    EXPECT_EQ(NoteDisplayText("(3)一般疑问句(yes/no)"), "一般疑问句(yes/no)");
    EXPECT_EQ(NoteDisplayText("(3)"), "");
    EXPECT_EQ(NoteDisplayText("no prefix"), "no prefix");
}

} // namespace
