// The media module as the window program gets it: the real module file loaded at run time, a
// module file that cannot be loaded, and the window's player that waits for its first sentence
// before it asks for the module.
#include "MediaModule.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <QString>

#include <gtest/gtest.h>

#include "BuiltInMediaModule.h"
#include "DeferredMedia.h"
#include "FakeMediaPlayer.h"
#include "TempFolder.h"

using namespace lectoria;

namespace {

const std::string kSentence =
    std::string(LECTORIA_DEMO_ROOT) + "/New Concept English Book 1/Lesson 001 Excuse me/01 Excuse me!.sau";

TEST(MediaModuleTest, TheModuleFileLoadsAndDecodesASentence)
{
    QString why;
    platform::MediaModule* module = platform::LoadMediaModule(QStringLiteral(LECTORIA_MEDIA_MODULE_FILE), &why);
    ASSERT_NE(module, nullptr) << why.toStdString();
    // The module's own copy of the media code, not the one linked into this test.
    EXPECT_NE(module, &platform::BuiltInMediaModule());

    lectoria::import::PcmAudio audio;
    ASSERT_TRUE(module->DecodeSentenceFile(kSentence, audio).ok());
    EXPECT_GT(audio.DurationMs(), 500);

    std::string error;
    const std::unique_ptr<analysis::IParser> parser = module->CreateParser(error);
    ASSERT_NE(parser, nullptr) << error;
    const analysis::ParseResult parsed = parser->Parse("Is this your handbag?");
    EXPECT_EQ(parsed.status, analysis::ParseStatus::Complete) << parsed.message;
    EXPECT_FALSE(parsed.linkages.empty());

    const platform::ImportTools tools = module->CreateImportTools();
    std::string mp3;
    const std::vector<std::int16_t> silence(2205, 0);
    EXPECT_TRUE(tools.encoder->Encode(silence.data(), silence.size(), 22050, mp3).ok());
    EXPECT_FALSE(mp3.empty());
}

TEST(MediaModuleTest, AModuleFileThatCannotLoadSaysWhy)
{
    for (const QString& path : {QStringLiteral("/nonexistent/lectoria-media"), QString::fromStdString(kSentence)}) {
        QString why;
        EXPECT_EQ(platform::LoadMediaModule(path, &why), nullptr) << path.toStdString();
        EXPECT_FALSE(why.isEmpty()) << path.toStdString();
    }
}

TEST(MediaModuleTest, AModuleFileCutShortIsRefusedInsteadOfEndingTheProgram)
{
    // A copy or an install that ran out of room: loading what is there would end the process
    // with SIGBUS the moment the loader touched the missing part.
    test::TempFolder folder;
    std::ifstream whole(LECTORIA_MEDIA_MODULE_FILE, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 40000U);
    const std::string cut = (folder.path() / "lectoria-media.so").string();
    std::ofstream(cut, std::ios::binary).write(bytes.data(), 20000);

    QString why;
    EXPECT_EQ(platform::LoadMediaModule(QString::fromStdString(cut), &why), nullptr);
    EXPECT_TRUE(why.contains(QStringLiteral("文件不完整"))) << why.toStdString();
}

TEST(MediaModuleTest, WithoutTheModuleEveryPartFailsWithTheReason)
{
    const std::string why = "声音和语法组件无法加载: 找不到文件";
    const std::unique_ptr<platform::MediaModule> missing = platform::MissingMediaModule(why);

    // The reading loop sees a sentence that cannot be played and moves on.
    const std::unique_ptr<platform::ISentencePlayer> player = missing->CreatePlayer();
    player->Open(kSentence);
    EXPECT_EQ(player->PlayState(), reading::IMediaPlayer::kStopped);
    EXPECT_EQ(player->LastError(), why);

    EXPECT_EQ(missing->CreateRenderer("/tmp/")->Render(kSentence, 0.8).error, why);

    const std::unique_ptr<reading::IShadowRecorder> recorder = missing->CreateRecorder(nullptr);
    std::string recorderWhy;
    EXPECT_FALSE(recorder->IsAvailable(&recorderWhy));
    EXPECT_EQ(recorderWhy, why);
    EXPECT_FALSE(recorder->Start(kSentence, 1000));

    lectoria::import::PcmAudio audio;
    EXPECT_EQ(missing->DecodeSentenceFile(kSentence, audio).error, why);

    std::string parserWhy;
    EXPECT_EQ(missing->CreateParser(parserWhy), nullptr);
    EXPECT_EQ(parserWhy, why);

    const platform::ImportTools tools = missing->CreateImportTools();
    std::string mp3;
    const std::int16_t sample = 0;
    EXPECT_EQ(tools.decoder->Decode(kSentence, audio, nullptr).error, why);
    EXPECT_EQ(tools.encoder->Encode(&sample, 1, 22050, mp3).error, why);
    EXPECT_EQ(tools.speech->SelectVoice("en", 160).error, why);
}

/// Counts what is asked of it; its players are fakes that also keep a volume.
class CountingModule : public platform::MediaModule
{
public:
    class Player : public platform::ISentencePlayer
    {
    public:
        void SetAutoStart(bool on) override { fake.SetAutoStart(on); }
        void SetPlayCount(int count) override { fake.SetPlayCount(count); }
        void Open(const std::string& path) override { fake.Open(path); }
        int PlayState() const override { return fake.PlayState(); }
        void Stop() override { fake.Stop(); }
        std::string LastError() const override { return fake.LastError(); }
        float volume() const override { return level; }
        void setVolume(float volume) override { level = volume; }

        test::FakeMediaPlayer fake;
        float level = 1.0F;
    };

    std::unique_ptr<platform::ISentencePlayer> CreatePlayer() override
    {
        auto player = std::make_unique<Player>();
        lastPlayer = player.get();
        ++asked;
        return player;
    }
    std::unique_ptr<reading::ISpeechRenderer> CreateRenderer(const std::string& tempDir) override
    {
        ++asked;
        return platform::MissingMediaModule("no renderer here")->CreateRenderer(tempDir);
    }
    std::unique_ptr<reading::IShadowRecorder> CreateRecorder(std::function<void(const std::string&)>) override
    {
        ++asked;
        return nullptr;
    }
    void WatchAudioInputs(QObject*, std::function<void()>) override { ++asked; }
    lectoria::import::MediaStatus DecodeSentenceFile(const std::string&, lectoria::import::PcmAudio&) override
    {
        ++asked;
        return {};
    }
    std::unique_ptr<analysis::IParser> CreateParser(std::string&) override
    {
        ++asked;
        return nullptr;
    }
    platform::ImportTools CreateImportTools() override
    {
        ++asked;
        return {};
    }

    int asked = 0;
    Player* lastPlayer = nullptr;
};

/// Puts the counting module in place for one test and the linked-in one back afterwards.
class DeferredMediaTest : public testing::Test
{
protected:
    DeferredMediaTest() { platform::UseMediaModule(m_module); }
    ~DeferredMediaTest() override { platform::UseMediaModule(platform::BuiltInMediaModule()); }

    CountingModule m_module;
};

TEST_F(DeferredMediaTest, ThePlayerAsksForTheModuleAtItsFirstSentenceWithTheSettingsItWasGiven)
{
    platform::DeferredPlayer player;
    player.SetAutoStart(false);
    player.SetPlayCount(3);
    player.setVolume(0.25F);
    player.Stop();
    EXPECT_EQ(player.PlayState(), reading::IMediaPlayer::kStopped);
    EXPECT_EQ(player.LastError(), "");
    EXPECT_FLOAT_EQ(player.volume(), 0.25F);
    EXPECT_EQ(m_module.asked, 0) << "the window would wait for the module before it shows";

    player.Open(kSentence);
    ASSERT_EQ(m_module.asked, 1);
    CountingModule::Player& made = *m_module.lastPlayer;
    EXPECT_FALSE(made.fake.autoStart);
    EXPECT_EQ(made.fake.playCount, 3);
    EXPECT_FLOAT_EQ(made.level, 0.25F);
    EXPECT_EQ(made.fake.opened, std::vector<std::string>{kSentence});

    // From then on everything goes to the one real player.
    player.SetAutoStart(true);
    player.setVolume(0.5F);
    player.Open(kSentence);
    EXPECT_EQ(m_module.asked, 1);
    EXPECT_TRUE(made.fake.autoStart);
    EXPECT_FLOAT_EQ(player.volume(), 0.5F);
    EXPECT_EQ(player.PlayState(), reading::IMediaPlayer::kPlaying);
    player.Stop();
    EXPECT_EQ(made.fake.stops, 1);
}

TEST_F(DeferredMediaTest, TheRendererAsksForTheModuleAtItsFirstSentence)
{
    platform::DeferredRenderer renderer("/tmp/");
    renderer.Release();
    EXPECT_EQ(m_module.asked, 0);
    EXPECT_EQ(renderer.Render(kSentence, 1.0).error, "no renderer here");
    EXPECT_EQ(renderer.Render(kSentence, 0.8).error, "no renderer here");
    EXPECT_EQ(m_module.asked, 1);
}

} // namespace
