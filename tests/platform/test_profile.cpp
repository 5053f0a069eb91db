#include "QSettingsProfile.h"

#include <QFile>

#include <gtest/gtest.h>

#include "TempFolder.h"

using lectoria::platform::QSettingsProfile;
using lectoria::test::TempFolder;

namespace {

TEST(QSettingsProfile, ReadsWritesAndSurvivesARestart)
{
    TempFolder folder;
    const QString ini = QString::fromStdString((folder.path() / "profile.ini").string());
    {
        QSettingsProfile profile(ini);
        EXPECT_EQ(profile.ReadInt("nDuration", 4), 4);
        EXPECT_EQ(profile.ReadString("strSubjectGrammar", "所有+所有+所有"), "所有+所有+所有");
        profile.WriteInt("nDuration", 21);
        profile.WriteString("strSubjectGrammar", "时态+现在完成时");
        EXPECT_TRUE(profile.Flush());
    }
    QSettingsProfile again(ini);
    EXPECT_EQ(again.ReadInt("nDuration", 4), 21);
    EXPECT_EQ(again.ReadString("strSubjectGrammar", ""), "时态+现在完成时");
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[kelvaro]"));
}

TEST(QSettingsProfile, NonNumbersGiveTheDefaultAndHugeNumbersDoNotOverflow)
{
    TempFolder folder;
    const std::filesystem::path ini = folder.Write(
        "profile.ini", "[kelvaro]\nnRepeatPlayNum=abc\nnDuration=99999999999999\nnNowPlayNum=-12\n5Red= 7\n");
    QSettingsProfile profile(QString::fromStdString(ini.string()));
    EXPECT_EQ(profile.ReadInt("nRepeatPlayNum", 1), 1);
    EXPECT_EQ(profile.ReadInt("nDuration", 0), INT_MAX);
    EXPECT_EQ(profile.ReadInt("nNowPlayNum", 1), -12);
    EXPECT_EQ(profile.ReadInt("5Red", 238), 7);
}

} // namespace
