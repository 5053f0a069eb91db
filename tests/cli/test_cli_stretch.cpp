// "lectoria-cli stretch": a sentence file read slower or faster with its pitch kept, written as WAV,
// and the line it prints.
#include <filesystem>
#include <fstream>
#include <regex>

#include <gtest/gtest.h>

#include "CliRunning.h"
#include "EspeakSpeech.h"
#include "FileSizeLimit.h"
#include "GstAudioDecoder.h"
#include "LameMp3Encoder.h"
#include "SpokenFixture.h"
#include "TempFolder.h"
#include "audio/SpeechAnalysis.h"
#include "library/SentenceAudio.h"

using namespace lectoria;
using lectoria::test::Cli;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

class StretchCommand : public testing::Test
{
protected:
    StretchCommand()
    {
        m_spoken = test::Spoken("en-us", "Where is the railway station, please?");
        std::string mp3;
        EXPECT_TRUE(platform::LameMp3Encoder()
                        .Encode(m_spoken.samples.data(), m_spoken.samples.size(), m_spoken.sampleRate, mp3)
                        .ok());
        m_sentence = (m_folder.path() / "03 Where is the railway station, please^.sau").string();
        EXPECT_TRUE(library::WriteScrambledFile(mp3, m_sentence).ok());
    }

    static lectoria::import::PcmAudio Decode(const std::string& file)
    {
        lectoria::import::PcmAudio audio;
        EXPECT_TRUE(platform::GstAudioDecoder().Decode(file, audio, nullptr).ok()) << file;
        return audio;
    }

    TempFolder m_folder;
    lectoria::import::PcmAudio m_spoken;
    std::string m_sentence;
};

TEST_F(StretchCommand, WritesTheSentenceAtTheSpeedWithItsPitchAndPrintsBothLengths)
{
    for (const char* speed : {"0.7", "1.3"}) {
        SCOPED_TRACE(speed);
        const std::string out = (m_folder.path() / (std::string("at-") + speed + ".wav")).string();
        const test::CliRun run = Cli({"stretch", m_sentence, out, "--speed", speed});
        ASSERT_EQ(run.status, 0) << run.err;
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(run.out, parts, std::regex("(.*)\t([0-9]+\\.[0-9]{3})\t([0-9]+\\.[0-9]{3})\n")))
            << run.out;
        EXPECT_EQ(parts[1], out);
        const double in = std::stod(parts[2]);
        const double stretched = std::stod(parts[3]);
        EXPECT_NEAR(stretched, in / std::stod(speed), in / std::stod(speed) * 0.05);

        const lectoria::import::PcmAudio written = Decode(out);
        EXPECT_NEAR(static_cast<double>(written.DurationMs()) / 1000.0, stretched, 0.01);
        const double pitch = test::SpeechPitchHz(m_spoken);
        ASSERT_GT(pitch, 0.0);
        EXPECT_NEAR(test::SpeechPitchHz(written), pitch, pitch * 0.03);
    }
    // A plain audio file works as well as a sentence file.
    const std::string plain = (m_folder.path() / "plain.wav").string();
    ASSERT_EQ(Cli({"stretch", m_sentence, plain, "--speed=1.0"}).status, 0);
    EXPECT_EQ(Cli({"stretch", plain, (m_folder.path() / "again.wav").string(), "--speed", "0.5"}).status, 0);
}

TEST_F(StretchCommand, MistakesExitTwoAndAnUnwritableOutputOneLeavingTheOldFileWhole)
{
    const std::string out = (m_folder.path() / "out.wav").string();
    struct Case
    {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"stretch", m_sentence, out}, "--speed"},
        {{"stretch", m_sentence, out, "--speed", "0.3"}, "0.5 to 1.5"},
        {{"stretch", m_sentence, out, "--speed", "0.7, 1.0"}, "one number"},
        {{"stretch", m_sentence, "--speed", "0.7"}, "output"},
        {{"stretch", (m_folder.path() / "missing.sau").string(), out, "--speed", "0.7"}, "missing.sau"},
        {{"stretch", m_sentence, out, "--speed", "0.7", "--pitch", "2"}, "--pitch"},
    };
    for (const Case& test : cases) {
        const test::CliRun run = Cli(test.args);
        EXPECT_EQ(run.status, 2) << test.says;
        EXPECT_NE(run.err.find(test.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(out)) << test.says;
    }

    // A full disk: plain audio input, so that only the output needs room.
    const std::string plain = (m_folder.path() / "plain.wav").string();
    test::WriteWav(plain, m_spoken);
    std::ofstream(out, std::ios::binary) << "old";
    {
        test::FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        const test::CliRun run = Cli({"stretch", plain, out, "--speed", "0.7"});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
    }
    std::ifstream kept(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
}

} // namespace
