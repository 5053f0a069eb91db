// Sentence files made by the importer start with the voice itself: the MP3 encoder's delay is
// recorded in the file and taken off again when it is played or decoded, without GStreamer
// complaining about it on the terminal.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include "EncoderDelayTrim.h"
#include "GLibLogWatch.h"
#include "GstAudioDecoder.h"
#include "GstSetup.h"
#include "LameMp3Encoder.h"
#include "TempFolder.h"

namespace lectoria::platform {
namespace {

constexpr int kLoud = 300;
constexpr double kPi = 3.14159265358979323846;

std::size_t Lead(int rate)
{
    return static_cast<std::size_t>(rate * 0.1);
}

/// A short silence, then a tone: where the tone is heard shows whether the encoder's delay is
/// still in front of it or whether too much was taken off.
std::vector<std::int16_t> Tone(int rate, double seconds)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(rate * seconds));
    for (std::size_t i = Lead(rate); i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(12000 * std::sin(2 * kPi * 330.0 * static_cast<double>(i) / rate + 0.5));
    }
    return samples;
}

std::string Encode(int rate, const std::vector<std::int16_t>& samples)
{
    std::string mp3;
    EXPECT_TRUE(LameMp3Encoder().Encode(samples.data(), samples.size(), rate, mp3).ok());
    return mp3;
}

std::size_t FirstLoud(const std::vector<std::int16_t>& samples)
{
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > kLoud) {
            return i;
        }
    }
    return samples.size();
}

/// One pass of the decoded stream as a sink that keeps time would see it.
struct Pass
{
    GstClockTime firstTime = GST_CLOCK_TIME_NONE;
    std::vector<std::int16_t> samples;
};

/// Decodes `path` through decodebin with the trimming in place, as the player's chain does, and
/// plays it `passes` times by seeking back to the start as the player repeats a sentence.
std::vector<Pass> PlayThroughDecodebin(const std::string& path, int passes)
{
    EXPECT_EQ(InitGStreamer(), "");
    GError* failure = nullptr;
    GstElement* pipeline =
        gst_parse_launch(("filesrc name=file ! decodebin ! audioconvert name=convert ! "
                          "appsink name=out sync=false caps=audio/x-raw,format=S16LE,channels=1,layout=interleaved"),
                         &failure);
    EXPECT_NE(pipeline, nullptr) << (failure != nullptr ? failure->message : "");
    g_clear_error(&failure);
    std::vector<Pass> result;
    if (pipeline == nullptr) {
        return result;
    }
    GstElement* file = gst_bin_get_by_name(GST_BIN(pipeline), "file");
    g_object_set(file, "location", path.c_str(), nullptr);
    GstElement* convert = gst_bin_get_by_name(GST_BIN(pipeline), "convert");
    TrimEncoderDelay(pipeline, convert);
    auto* sink = GST_APP_SINK(gst_bin_get_by_name(GST_BIN(pipeline), "out"));
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    for (int pass = 0; pass < passes; ++pass) {
        if (pass > 0) {
            EXPECT_EQ(gst_element_get_state(pipeline, nullptr, nullptr, 5 * GST_SECOND), GST_STATE_CHANGE_SUCCESS);
            EXPECT_TRUE(gst_element_seek_simple(
                pipeline, GST_FORMAT_TIME, static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0));
        }
        Pass heard;
        while (GstSample* sample = gst_app_sink_try_pull_sample(sink, 5 * GST_SECOND)) {
            GstBuffer* buffer = gst_sample_get_buffer(sample);
            if (heard.samples.empty()) {
                heard.firstTime = GST_BUFFER_PTS(buffer);
            }
            GstMapInfo map;
            if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
                const auto* data = reinterpret_cast<const std::int16_t*>(map.data);
                heard.samples.insert(heard.samples.end(), data, data + map.size / 2);
                gst_buffer_unmap(buffer, &map);
            }
            gst_sample_unref(sample);
        }
        EXPECT_TRUE(gst_app_sink_is_eos(sink)) << "pass " << pass << " of " << path << " did not reach its end";
        result.push_back(std::move(heard));
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(convert);
    gst_object_unref(file);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return result;
}

// 16 and 22.05 kHz make MPEG-2 frames of 576 samples, shorter than the encoder's delay, so the
// first frame is delay through and through; 44.1 kHz makes MPEG-1 frames of 1152.
constexpr int kRates[] = {16000, 22050, 44100};

/// The tone is heard where it was written, whole; what follows it is the last frame's padding.
void ExpectToneWhereWritten(const std::vector<std::int16_t>& heard, int rate, std::size_t written)
{
    EXPECT_NEAR(static_cast<double>(FirstLoud(heard)), static_cast<double>(Lead(rate)), 8.0);
    EXPECT_GE(heard.size(), written);
    EXPECT_LT(heard.size(), written + 2 * 1152);
}

TEST(EncodedSentence, StartsWithItsFirstSampleWhenPlayedAgainAndAgainOrDecoded)
{
    test::TempFolder folder;
    test::GLibLogWatch log;
    for (const int rate : kRates) {
        SCOPED_TRACE(std::to_string(rate) + " Hz");
        const std::vector<std::int16_t> tone = Tone(rate, 0.6);
        const std::string path = folder.Write(std::to_string(rate) + ".mp3", Encode(rate, tone)).string();

        // As the player plays it, and repeats it by seeking back to the start.
        const std::vector<Pass> passes = PlayThroughDecodebin(path, 2);
        ASSERT_EQ(passes.size(), 2u);
        for (std::size_t pass = 0; pass < passes.size(); ++pass) {
            SCOPED_TRACE("pass " + std::to_string(pass + 1));
            ExpectToneWhereWritten(passes[pass].samples, rate, tone.size());
            EXPECT_EQ(passes[pass].firstTime, 0u);
        }

        // As importing and speaking practice decode it.
        import::PcmAudio pcm;
        ASSERT_TRUE(GstAudioDecoder().Decode(path, pcm, nullptr).ok());
        EXPECT_EQ(pcm.sampleRate, rate);
        ExpectToneWhereWritten(pcm.samples, rate, tone.size());
    }
    EXPECT_EQ(log.Text(), "");
}

// Lessons imported before files carried their delay have no Info frame: nothing is known to be
// silence, so nothing may be cut from them.
TEST(EncoderDelay, FileWithoutInfoFrameKeepsEverySample)
{
    const int rate = 22050;
    test::TempFolder folder;
    const std::vector<std::int16_t> tone = Tone(rate, 0.6);
    const std::string mp3 = Encode(rate, tone);
    // The Info frame is the first frame; its length follows from its header (MPEG-2 layer III).
    ASSERT_GE(mp3.size(), 4u);
    const int kbps[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    const auto header = reinterpret_cast<const unsigned char*>(mp3.data());
    const std::size_t frame = 72u * 1000u * static_cast<unsigned>(kbps[header[2] >> 4]) / rate + ((header[2] >> 1) & 1);
    ASSERT_GT(frame, 4u);
    ASSERT_NE(mp3.find("LAME", 0), std::string::npos);
    ASSERT_LT(mp3.find("LAME", 0), frame);
    const std::string untagged = folder.Write("untagged.mp3", mp3.substr(frame)).string();

    import::PcmAudio pcm;
    ASSERT_TRUE(GstAudioDecoder().Decode(untagged, pcm, nullptr).ok());
    // The encoder's delay (576) and the decoder's (529) are still in front of the tone.
    EXPECT_NEAR(static_cast<double>(FirstLoud(pcm.samples)), static_cast<double>(Lead(rate) + 1105), 8.0);
    EXPECT_GE(pcm.samples.size(), tone.size() + 1105);
}

} // namespace
} // namespace lectoria::platform
