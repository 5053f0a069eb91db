// Reading the text side of an import: encodings, LRC/SRT/WebVTT, bilingual cues, sentence splitting.
#include <gtest/gtest.h>

#include "Gb18030.h"
#include "import/SentenceSplit.h"
#include "import/SentenceText.h"
#include "import/TextEncoding.h"
#include "import/TimedText.h"

using namespace lectoria::import;
using lectoria::test::Gb18030;

namespace {

std::string Utf16(const std::u16string& text, bool little)
{
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t c : text) {
        const char high = static_cast<char>(c >> 8);
        const char low = static_cast<char>(c & 0xFF);
        bytes += little ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

TEST(TextEncoding, DetectsEachEncodingAndRejectsTheRest)
{
    const std::string chinese = "你好，Tom.";
    struct Case
    {
        const char* name;
        std::string bytes;
        bool ok;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"utf8", chinese, true, TextEncoding::Utf8},
        {"utf8 bom", "\xEF\xBB\xBF" + chinese, true, TextEncoding::Utf8Bom},
        {"utf16le", Utf16(u"你好，Tom.", true), true, TextEncoding::Utf16LeBom},
        {"utf16be", Utf16(u"你好，Tom.", false), true, TextEncoding::Utf16BeBom},
        {"gbk", Gb18030("你好，Tom."), true, TextEncoding::Gb18030},
        {"gb18030 four-byte", Gb18030("𠀀 and €"), true, TextEncoding::Gb18030},
        {"ascii", "plain text\r\n", true, TextEncoding::Utf8},
        {"latin-1", "caf\xE9 au lait", false, TextEncoding::Utf8},
        {"utf-16 without a mark", std::string("H\0i\0", 4), false, TextEncoding::Utf8},
        {"binary", std::string("\x89PNG\r\n\x1A\n\0\0", 10), false, TextEncoding::Utf8},
        {"broken utf-8 after a mark", "\xEF\xBB\xBF\xC3(", false, TextEncoding::Utf8},
        {"odd utf-16", "\xFF\xFE\x41", false, TextEncoding::Utf8},
    };
    for (const Case& c : cases) {
        const DecodedText decoded = DecodeText(c.bytes);
        EXPECT_EQ(decoded.ok, c.ok) << c.name;
        if (c.ok && decoded.ok) {
            EXPECT_EQ(decoded.encoding, c.encoding) << c.name;
            EXPECT_EQ(decoded.text.find("\xEF\xBB\xBF"), std::string::npos) << c.name;
        } else if (!c.ok) {
            EXPECT_FALSE(decoded.reason.empty()) << c.name;
        }
    }
    EXPECT_EQ(DecodeText(Gb18030("你好，Tom.")).text, chinese);
    EXPECT_EQ(DecodeText(Utf16(u"你好，Tom.", false)).text, chinese);
}

TEST(TextEncoding, AFileThatCannotBeReadNamesItself)
{
    const DecodedText missing = ReadTextFile("/nonexistent/lesson.lrc");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.reason.find("/nonexistent/lesson.lrc"), std::string::npos);
}

TEST(TimedText, LrcTagsOffsetsMetadataAndTranslations)
{
    const TimedText lrc = ParseLrc("[ti:Morning]\n[ar:Someone]\n[offset:+500]\n"
                                   "[00:01.50]Good morning.\n"
                                   "[00:01.50]早上好。\n"
                                   "[00:04.00][01:02.25]Sing it <00:04.50>again!\n"
                                   "[00:07.123]\n"
                                   "[00:08:50]Third form of tag.\n"
                                   "no tag at all\n"
                                   "[la:en]\n");
    ASSERT_EQ(lrc.cues.size(), 5u);
    EXPECT_EQ(lrc.cues[0].startMs, 1000);
    EXPECT_EQ(lrc.cues[0].lines, (std::vector<std::string>{"Good morning.", "早上好。"}));
    EXPECT_EQ(lrc.cues[1].startMs, 3500);
    EXPECT_EQ(lrc.cues[1].lines.front(), "Sing it again!");
    EXPECT_EQ(lrc.cues[2].startMs, 61750);
    EXPECT_EQ(lrc.cues[2].lines.front(), "Sing it again!");
    EXPECT_EQ(lrc.cues[3].startMs, 6623);
    EXPECT_EQ(lrc.cues[3].lines.front(), "");
    EXPECT_EQ(lrc.cues[4].startMs, 8000);
    for (const Cue& cue : lrc.cues) {
        EXPECT_EQ(cue.endMs, -1);
    }
    EXPECT_EQ(ParseLrc("[offset:-250]\n[00:01.00]Later.").cues.front().startMs, 1250);
}

TEST(TimedText, SrtBlocksWithMarkupAndTwoLanguages)
{
    const TimedText srt = ParseSrt("1\r\n00:00:01,000 --> 00:00:03,500\r\n<i>Hello</i> there.\r\n你好。\r\n\r\n"
                                   "2\r\n00:01:02.25 --> 00:01:04,000 X1:0\r\n{\\an8}Second line\r\n\r\n"
                                   "3\r\nnot a timing line\r\nlost\r\n");
    ASSERT_EQ(srt.cues.size(), 2u);
    EXPECT_EQ(srt.cues[0].startMs, 1000);
    EXPECT_EQ(srt.cues[0].endMs, 3500);
    EXPECT_EQ(srt.cues[0].lines, (std::vector<std::string>{"Hello there.", "你好。"}));
    EXPECT_EQ(srt.cues[1].startMs, 62250);
    EXPECT_EQ(srt.cues[1].lines.front(), "Second line");
}

TEST(TimedText, WebVttSkipsHeaderNotesAndSettings)
{
    const TimedText vtt = ParseWebVtt("WEBVTT - a title\nKind: captions\n\nNOTE a comment\n-->\n\n"
                                      "STYLE\n::cue { color: red }\n\n"
                                      "intro\n00:02.000 --> 00:04.500 align:start line:0\n"
                                      "<v Ann>Fish &amp; chips, please.</v>\n\n"
                                      "01:00:00.000 --> 01:00:01.000\nLast &lt;one&gt;\n");
    ASSERT_EQ(vtt.cues.size(), 2u);
    EXPECT_EQ(vtt.cues[0].startMs, 2000);
    EXPECT_EQ(vtt.cues[0].endMs, 4500);
    EXPECT_EQ(vtt.cues[0].lines.front(), "Fish & chips, please.");
    EXPECT_EQ(vtt.cues[1].startMs, 3600000);
    EXPECT_EQ(vtt.cues[1].lines.front(), "Last <one>");
}

TEST(TimedText, FormatFromExtensionThenContent)
{
    const std::string srt = "1\n00:00:01,000 --> 00:00:02,000\nHi.\n";
    EXPECT_EQ(ParseTimedText(srt, "a.SRT").format, TimedTextFormat::Srt);
    EXPECT_EQ(ParseTimedText(srt, "subtitles.txt").format, TimedTextFormat::Srt);
    EXPECT_EQ(ParseTimedText("WEBVTT\n\n00:01.000 --> 00:02.000\nHi.\n", "x").format, TimedTextFormat::WebVtt);
    EXPECT_EQ(ParseTimedText("[00:01.00]Hi.", "song.lrc").format, TimedTextFormat::Lrc);
    EXPECT_TRUE(ParseTimedText("just words, no times", "x.lrc").cues.empty());
}

TEST(SentenceText, BilingualCuesGiveSentenceAndNote)
{
    struct Case
    {
        std::vector<std::string> lines;
        const char* text;
        const char* note;
    };
    const Case cases[] = {
        {{"Where is the bank?", "银行在哪里？"}, "Where is the bank?", "银行在哪里？"},
        {{"银行在哪里？", "Where is the bank?"}, "Where is the bank?", "银行在哪里？"},
        {{"Where is the bank? 银行在哪里？"}, "Where is the bank?", "银行在哪里？"},
        {{"Two lines", "of one sentence."}, "Two lines of one sentence.", ""},
        {{"\xE2\x80\x9CIt\xE2\x80\x99s   fine\xE2\x80\x9D \xE2\x80\x94 she said\xE2\x80\xA6"},
         "\"It's fine\" - she said...",
         ""},
        {{"只有中文"}, "", "只有中文"},
    };
    for (const Case& c : cases) {
        const SentenceWithNote result = SplitBilingual(c.lines);
        EXPECT_EQ(result.text, c.text) << c.lines.front();
        EXPECT_EQ(result.note, c.note) << c.lines.front();
    }
}

TEST(SentenceSplit, KeepsAbbreviationsNumbersQuotesAndBracketsTogether)
{
    struct Case
    {
        const char* text;
        std::vector<std::string> sentences;
    };
    const Case cases[] = {
        {"Mr. Smith met Dr. Brown. They talked.", {"Mr. Smith met Dr. Brown.", "They talked."}},
        {"Eat fruit, e.g. apples. It helps.", {"Eat fruit, e.g. apples.", "It helps."}},
        {"She moved to the U.S. last year. Now she works.", {"She moved to the U.S. last year.", "Now she works."}},
        {"It costs 3.5 dollars. That is cheap!", {"It costs 3.5 dollars.", "That is cheap!"}},
        {"He said, \"Stop. Look around.\" Then he left.", {"He said, \"Stop. Look around.\"", "Then he left."}},
        {"Read this (it is short. Really.) and reply. Thanks.",
         {"Read this (it is short. Really.) and reply.", "Thanks."}},
        {"Really?! Yes. Wait... and then? No.", {"Really?!", "Yes.", "Wait... and then?", "No."}},
        {"A line that is\nwrapped in two. And another.", {"A line that is wrapped in two.", "And another."}},
        {"No stop at the end\n\nNew paragraph here", {"No stop at the end", "New paragraph here"}},
        {"It was 5 p.m. when we met. We ate.", {"It was 5 p.m. when we met.", "We ate."}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitSentences(c.text), c.sentences) << c.text;
    }
}

TEST(SentenceSplit, OneSentencePerLineOnlyWhenTheFileIsWrittenSo)
{
    struct Case
    {
        const char* text;
        std::vector<std::string> sentences;
    };
    const Case cases[] = {
        // Most lines are whole sentences: every line stays one, even a short pair or a piece.
        {"Excuse me!\nYes? Can I help you?\nWhen I was young\nI lived by the sea.\nThank you.",
         {"Excuse me!", "Yes? Can I help you?", "When I was young", "I lived by the sea.", "Thank you."}},
        // Hard-wrapped prose: lines break inside sentences.
        {"The first sentence runs on and\nbreaks here. The second one\nends here.",
         {"The first sentence runs on and breaks here.", "The second one ends here."}},
        // One paragraph a line.
        {"One. Two. Three.\nFour. Five.", {"One.", "Two.", "Three.", "Four.", "Five."}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> texts;
        for (const SentenceWithNote& sentence : SentencesOfText(c.text)) {
            texts.push_back(sentence.text);
        }
        EXPECT_EQ(texts, c.sentences) << c.text;
    }
}

TEST(SentenceSplit, ChineseLinesAreNotesOfTheSentenceBefore)
{
    const std::vector<SentenceWithNote> sentences =
        SentencesOfText("Excuse me!\nExcuse me 用于引起注意。\nWhere is it?\nHere it is.\n倒装句。\n第二行注释。\n");
    ASSERT_EQ(sentences.size(), 3u);
    EXPECT_EQ(sentences[0].note, "Excuse me 用于引起注意。");
    EXPECT_EQ(sentences[1].note, "");
    EXPECT_EQ(sentences[2].text, "Here it is.");
    EXPECT_EQ(sentences[2].note, "倒装句。 第二行注释。");
}

} // namespace
