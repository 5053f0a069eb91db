#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "EspeakSpeech.h"
#include "GstAudioDecoder.h"
#include "LameMp3Encoder.h"
#include "SpokenFixture.h"
#include "TempFolder.h"
#include "import/LessonBuilder.h"

#include <gst/gst.h>

namespace lectoria::test {

/// The real media parts, as the program uses them.
struct RealMedia
{
    platform::GstAudioDecoder decoder;
    platform::LameMp3Encoder encoder;
    platform::EspeakSpeech speech;

    lectoria::import::ImportServices services() { return {&decoder, &encoder, &speech}; }
}; // namespace lectoria::test

/// Every file and folder below `root` with the size and bytes of each file: two equal snapshots
/// mean nothing was added, removed or changed.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& root)
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string relative = std::filesystem::relative(entry.path(), root).string();
        entries[relative] = entry.is_directory() ? std::string("<dir>") : ReadBytes(entry.path());
    }
    return entries;
}

/// The sentences every fixture recording speaks, each with its Chinese note; their lengths differ
/// clearly, so a piece holding the wrong sentence shows in its length.
inline const std::vector<std::pair<std::string, std::string>>& FixtureSentences()
{
    static const std::vector<std::pair<std::string, std::string>> sentences = {
        {"Good morning.", "早上好。"},
        {"Could you tell me the way to the old harbour, please?", "请问去老港口怎么走？"},
        {"I like tea.", "我喜欢茶。"},
        {"The museum opens at nine and closes at half past five.", "博物馆九点开门，五点半关门。"},
    };
    return sentences;
}

/// Muxes the recording's sound with a test-picture video track into a Matroska file, as a video
/// with subtitles would come.
inline bool MakeVideo(const std::filesystem::path& wav, const std::filesystem::path& mkv)
{
    gst_init(nullptr, nullptr);
    const std::string description =
        "filesrc location=\"" + wav.string() +
        "\" ! wavparse ! audioconvert ! audioresample ! vorbisenc ! queue ! mux. "
        "videotestsrc num-buffers=160 ! video/x-raw,width=64,height=48,framerate=10/1 ! vp8enc deadline=1 ! "
        "queue ! mux. matroskamux name=mux ! filesink location=\"" +
        mkv.string() + "\"";
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (pipeline == nullptr || error != nullptr) {
        ADD_FAILURE() << (error != nullptr ? error->message : "no pipeline");
        g_clear_error(&error);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_timed_pop_filtered(bus, 60 * GST_SECOND,
                                                     static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool finished = message != nullptr && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message != nullptr) {
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return finished;
}

/// The fixture recording as WAV, MP3 (made by the lame command), FLAC (made by sox) and a Matroska
/// video (made by GStreamer), made once
/// per test program and removed when it ends.
struct FixtureMedia
{
    std::filesystem::path dir;
    SpokenRecording recording;
    std::filesystem::path wav;
    std::filesystem::path mp3;
    std::filesystem::path flac;
    std::filesystem::path mkv;

    FixtureMedia()
    {
        dir = std::filesystem::temp_directory_path() / ("lectoria-import-media-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        recording = SpeakWithGaps(FixtureSentences());
        wav = dir / "lesson.wav";
        mp3 = dir / "lesson.mp3";
        flac = dir / "lesson.flac";
        WriteWav(wav, recording.audio);
        const std::string quotedWav = "'" + wav.string() + "'";
        EXPECT_EQ(std::system(("lame --quiet -b 64 " + quotedWav + " '" + mp3.string() + "'").c_str()), 0);
        EXPECT_EQ(std::system(("sox " + quotedWav + " '" + flac.string() + "'").c_str()), 0);
        mkv = dir / "lesson.mkv";
        EXPECT_TRUE(MakeVideo(wav, mkv));
    }
    ~FixtureMedia() { std::filesystem::remove_all(dir); }
    FixtureMedia(const FixtureMedia&) = delete;
    FixtureMedia& operator=(const FixtureMedia&) = delete;
};

inline const FixtureMedia& Media()
{
    static const FixtureMedia media;
    return media;
}

} // namespace lectoria::test
