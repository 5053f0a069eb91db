// A machine without a sound server: the player says so for every sentence, instead of letting the
// reading loop pass through the lesson in silence as if it had been read.
#include "CMediaPlayer2.h"

#include <string>
#include <vector>

#include <QtGlobal>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"

using namespace lectoria;
using lectoria::test::TempFolder;

namespace {

// Qt Multimedia asks PulseAudio for its devices once per process, so the address has to point
// nowhere before anything of it starts.
const bool kNoSoundServer = qputenv("PULSE_SERVER", "unix:/nonexistent/lectoria-no-sound-server");

TEST(PlayerWithoutSound, EverySentenceEndsAtOnceSayingThereIsNoOutputDevice)
{
    ASSERT_TRUE(kNoSoundServer);
    TempFolder folder;
    library::SentenceAudioDecoder decoder((folder.path() / "TemporaryQenReading").string() + "/");
    ASSERT_TRUE(decoder.CreateTempDir());
    const std::string lesson = std::string(LECTORIA_DEMO_ROOT) + library::NativeRelativePath(library::kDefaultLesson);
    const std::vector<std::string> titles = library::FillLessonList(lesson);
    ASSERT_GE(titles.size(), 2u);
    platform::CMediaPlayer2 player;
    player.SetAutoStart(true);
    for (std::size_t i = 0; i < 2; ++i) {
        const library::AudioResult decoded =
            decoder.DecodeSentenceAudio(library::SentenceAudioPath(lesson, false, titles[i], ""));
        ASSERT_TRUE(decoded.ok()) << decoded.detail;
        player.Open(decoded.path);
        EXPECT_EQ(player.PlayState(), reading::IMediaPlayer::kStopped) << titles[i];
        EXPECT_EQ(player.LastError(), "没有可用的声音输出设备") << titles[i];
    }
}

} // namespace
