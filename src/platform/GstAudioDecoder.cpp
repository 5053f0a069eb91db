#include "GstAudioDecoder.h"

#include <chrono>
#include <memory>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include "EncoderDelayTrim.h"
#include "GstSetup.h"

namespace lectoria::platform {

namespace {

// playbin's flag that plays the audio streams; video and subtitles stay unplugged.
constexpr guint kPlayAudioOnly = 0x2;

// A decoder that makes no progress for this long is taken as stuck.
constexpr auto kStallLimit = std::chrono::seconds(30);

struct ElementDeleter
{
    void operator()(GstElement* element) const
    {
        gst_element_set_state(element, GST_STATE_NULL);
        gst_object_unref(element);
    }
};

// The first error the pipeline posted, or an empty string.
std::string PipelineError(GstElement* pipeline)
{
    GstBus* bus = gst_element_get_bus(pipeline);
    std::string text;
    if (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        text = error != nullptr ? error->message : "decoding failed";
        g_clear_error(&error);
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return text;
}

void AppendSample(GstSample* sample, import::PcmAudio& out)
{
    if (out.sampleRate == 0) {
        if (const GstCaps* caps = gst_sample_get_caps(sample)) {
            gst_structure_get_int(gst_caps_get_structure(caps, 0), "rate", &out.sampleRate);
        }
    }
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (buffer != nullptr && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        const auto* samples = reinterpret_cast<const std::int16_t*>(map.data);
        out.samples.insert(out.samples.end(), samples, samples + map.size / sizeof(std::int16_t));
        gst_buffer_unmap(buffer, &map);
    }
}

} // namespace

lectoria::import::MediaStatus GstAudioDecoder::Decode(const std::string& path, import::PcmAudio& out,
                                                      const std::atomic<bool>* cancel)
{
    out = import::PcmAudio();
    if (std::string error = InitGStreamer(); !error.empty()) {
        return {error};
    }
    GError* failure = nullptr;
    gchar* uri = gst_filename_to_uri(path.c_str(), &failure);
    if (uri == nullptr) {
        std::string error = failure != nullptr ? failure->message : "not a file name";
        g_clear_error(&failure);
        return {error};
    }
    std::unique_ptr<GstElement, ElementDeleter> pipeline(gst_element_factory_make("playbin", nullptr));
    GstElement* sinkBin = gst_parse_bin_from_description("audioconvert name=convert ! audioresample ! "
                                                         "appsink name=pcm sync=false max-buffers=64 "
                                                         "caps=audio/x-raw,format=S16LE,channels=1,layout=interleaved",
                                                         TRUE, &failure);
    GstElement* videoSink = gst_element_factory_make("fakesink", nullptr);
    if (!pipeline || sinkBin == nullptr || videoSink == nullptr) {
        g_free(uri);
        g_clear_error(&failure);
        if (sinkBin != nullptr) {
            gst_object_unref(sinkBin);
        }
        if (videoSink != nullptr) {
            gst_object_unref(videoSink);
        }
        return {"the GStreamer base plug-ins (playbin, audioconvert, appsink) are missing"};
    }
    g_object_set(pipeline.get(), "uri", uri, "flags", kPlayAudioOnly, "audio-sink", sinkBin, "video-sink", videoSink,
                 nullptr);
    g_free(uri);
    GstElement* appSinkElement = gst_bin_get_by_name(GST_BIN(sinkBin), "pcm");
    GstElement* convert = gst_bin_get_by_name(GST_BIN(sinkBin), "convert");
    TrimEncoderDelay(pipeline.get(), convert);
    gst_object_unref(convert);
    GstAppSink* appSink = GST_APP_SINK(appSinkElement);

    lectoria::import::MediaStatus status;
    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        status.error = PipelineError(pipeline.get());
        if (status.error.empty()) {
            status.error = "cannot be opened for decoding";
        }
    }
    auto lastProgress = std::chrono::steady_clock::now();
    while (status.ok()) {
        if (cancel != nullptr && cancel->load()) {
            status.error = "cancelled";
            break;
        }
        if (GstSample* sample = gst_app_sink_try_pull_sample(appSink, 100 * GST_MSECOND)) {
            AppendSample(sample, out);
            gst_sample_unref(sample);
            lastProgress = std::chrono::steady_clock::now();
            continue;
        }
        if (gst_app_sink_is_eos(appSink)) {
            break;
        }
        status.error = PipelineError(pipeline.get());
        if (status.ok() && std::chrono::steady_clock::now() - lastProgress > kStallLimit) {
            status.error = "the decoder stopped without finishing";
        }
    }
    gst_object_unref(appSinkElement);
    if (status.ok() && out.sampleRate <= 0) {
        status.error = "holds no audio track";
    }
    return status;
} // namespace lectoria::platform

} // namespace lectoria::platform
