#include "settings/Settings.h"

#include <gtest/gtest.h>

#include "MemoryProfile.h"

using namespace lectoria::settings;
using lectoria::test::MemoryProfile;

namespace {

constexpr Rgb kButtonFace{212, 208, 200};

TEST(Settings, FirstStartGivesTheDefaults)
{
    MemoryProfile profile;
    const Settings settings = LoadSettings(profile, kButtonFace);
    EXPECT_EQ(settings.colorTable, DefaultColors());
    EXPECT_EQ(settings.colorTable[kTitleBackground], (Rgb{1, 83, 173}));
    EXPECT_FLOAT_EQ(settings.fListRightScale, 0.25f);
    EXPECT_FLOAT_EQ(settings.fGrammarTopScale, 0.75f);
    EXPECT_FLOAT_EQ(settings.fWholeBottomScale, 0.15f);
    EXPECT_FALSE(settings.isColorTitle);
    EXPECT_TRUE(settings.isColorClient);
    EXPECT_EQ(settings.nRepeatPlayNum, 1);
    EXPECT_EQ(settings.nDuration, 0);
    EXPECT_EQ(settings.nNowPlayNum, 1);
    EXPECT_EQ(settings.strFullPath, "");
    EXPECT_EQ(settings.strSubjectGrammar, "所有+所有+所有");
    EXPECT_FALSE(settings.isSelectSubject);
}

TEST(Settings, SaveWritesEveryKeyInOrderAndLoadReadsThemBack)
{
    Settings settings;
    settings.colorTable[kListLine] = Rgb{1, 2, 3};
    settings.fListRightScale = 0.2499f;
    settings.isColorTitle = true;
    settings.nRepeatPlayNum = 5;
    settings.nDuration = kFitInterval;
    settings.nNowPlayNum = 7;
    settings.strFullPath = "/lib/Book/Lesson 002 Two";
    settings.strSubjectWord = "cat+dog";
    settings.strSubjectBook = "New Concept English Book 1/Some English Songs";
    settings.strSubjectGrammar = "时态+现在完成时";
    settings.isSelectSubject = true;
    settings.isSearchByParser = true;
    settings.strSpeedSchedule = "0.7, 0.85, 1.0";
    settings.isShadowing = true;
    settings.isPlayBackRecording = false;

    MemoryProfile profile;
    SaveSettings(profile, settings);
    ASSERT_EQ(profile.writes.size(), 13u * 3u + 17u);
    EXPECT_EQ(profile.writes[0], "0Red");
    EXPECT_EQ(profile.writes[2], "0Blue");
    EXPECT_EQ(profile.writes[38], "12Blue");
    const std::vector<std::string> rest(profile.writes.begin() + 39, profile.writes.end());
    EXPECT_EQ(rest, (std::vector<std::string>{"fListRightScale", "fGrammarTopScale", "fWholeBottomScale",
                                              "isColorTitle", "isColorClient", "nRepeatPlayNum", "nDuration",
                                              "nNowPlayNum", "strFullPath", "strSubjectWord", "strSubjectBook",
                                              "strSubjectGrammar", "isSelectSubject", "isSearchByParser",
                                              "strSpeedSchedule", "isShadowing", "isPlayBackRecording"}));
    // Scales are stored times 1000, truncated: 0.2499 is 249, not 250.
    EXPECT_EQ(profile.ints["fListRightScale"], 249);
    EXPECT_EQ(profile.ints["isColorTitle"], 1);

    const Settings loaded = LoadSettings(profile, kButtonFace);
    EXPECT_EQ(loaded.colorTable[kListLine], (Rgb{1, 2, 3}));
    EXPECT_FLOAT_EQ(loaded.fListRightScale, 0.249f);
    EXPECT_EQ(loaded.nRepeatPlayNum, 5);
    EXPECT_EQ(loaded.nDuration, kFitInterval);
    EXPECT_EQ(loaded.nNowPlayNum, 7);
    EXPECT_EQ(loaded.strSubjectGrammar, "时态+现在完成时");
    EXPECT_TRUE(loaded.isSelectSubject);
    EXPECT_TRUE(loaded.isSearchByParser);
    EXPECT_EQ(loaded.strSpeedSchedule, "0.7, 0.85, 1.0");
    EXPECT_TRUE(loaded.isShadowing);
    EXPECT_FALSE(loaded.isPlayBackRecording);
}

TEST(Settings, ClientColoursOffTakeTheButtonFaceAndSaveIt)
{
    MemoryProfile profile;
    profile.ints["isColorClient"] = 0;
    const Settings settings = LoadSettings(profile, kButtonFace);
    EXPECT_EQ(settings.colorTable[kClientBackground], kButtonFace);
    SaveSettings(profile, settings);
    EXPECT_EQ(profile.ints["3Red"], 212);
    EXPECT_EQ(profile.ints["3Green"], 208);
    EXPECT_EQ(profile.ints["3Blue"], 200);
    EXPECT_EQ(profile.ints["isColorClient"], 0);
}

struct DamagedCase
{
    const char* key;
    int stored;
    int repeat;
    int duration;
    int position;
};

TEST(Settings, DamagedValuesAreBroughtIntoRange)
{
    const DamagedCase cases[] = {
        {"nRepeatPlayNum", -5, 1, 0, 1}, {"nRepeatPlayNum", 0, 1, 0, 1}, {"nRepeatPlayNum", 100000, 99, 0, 1},
        {"nDuration", -1, 1, 0, 1},      {"nDuration", 22, 1, 21, 1},    {"nDuration", 2147483647, 1, 21, 1},
        {"nNowPlayNum", -3, 1, 0, 1},    {"nNowPlayNum", 0, 1, 0, 1},
    };
    for (const DamagedCase& c : cases) {
        MemoryProfile profile;
        profile.ints[c.key] = c.stored;
        const Settings settings = LoadSettings(profile, kButtonFace);
        EXPECT_EQ(settings.nRepeatPlayNum, c.repeat) << c.key << '=' << c.stored;
        EXPECT_EQ(settings.nDuration, c.duration) << c.key << '=' << c.stored;
        EXPECT_EQ(settings.nNowPlayNum, c.position) << c.key << '=' << c.stored;
    }
}

TEST(Settings, DamagedScalesAndColoursStayUsable)
{
    MemoryProfile profile;
    profile.ints["fListRightScale"] = 0;
    profile.ints["fGrammarTopScale"] = 5000;
    profile.ints["fWholeBottomScale"] = -7;
    profile.ints["5Red"] = 300; // masked to 8 bits, as composing a colour does
    const Settings settings = LoadSettings(profile, kButtonFace);
    EXPECT_FLOAT_EQ(settings.fListRightScale, 0.25f);
    EXPECT_FLOAT_EQ(settings.fGrammarTopScale, 0.75f);
    EXPECT_FLOAT_EQ(settings.fWholeBottomScale, 0.15f);
    EXPECT_EQ(settings.colorTable[kWholeBackground].red, 300 & 0xFF);
}

TEST(Colors, ComposeAndSplit)
{
    EXPECT_EQ(ComposeColor(Rgb{1, 83, 173}), 1u | 83u << 8 | 173u << 16);
    EXPECT_EQ(SplitColor(0xFFADu << 8 | 0x12u), (Rgb{0x12, 0xAD, 0xFF}));
    EXPECT_EQ(SplitColor(0xAB123456u), (Rgb{0x56, 0x34, 0x12}));
}

} // namespace
