#include "EncoderDelayTrim.h"

#include <algorithm>
#include <mutex>

#include <gst/audio/audio.h>

namespace lectoria::platform {

namespace {

/// Shared by the probes of one pipeline. The decoders' side counts the samples of the frames
/// whose clipping it took over since its stream started; the raw side counts what it dropped
/// since the decoded stream started. Each side resets its own count when its stream starts anew
/// or is flushed (a seek back to the start brings the parser's marks again).
struct Trim
{
    std::mutex mutex;
    guint64 asked = 0;      ///< samples of whole frames of encoder delay, to drop
    guint64 dropped = 0;    ///< of those, samples already dropped
    GstClockTime shift = 0; ///< the time dropped; later buffers move back by it
};

// Both probes see buffers and, to reset, the events that start or flush a stream.
constexpr auto kProbed = static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM |
                                                      GST_PAD_PROBE_TYPE_EVENT_FLUSH);

bool StartsStream(GstPadProbeInfo* info)
{
    if ((GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_BOTH) == 0) {
        return false;
    }
    const GstEventType type = GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info));
    return type == GST_EVENT_STREAM_START || type == GST_EVENT_FLUSH_STOP;
}

GstPadProbeReturn AtDecoderInput(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    auto& trim = *static_cast<Trim*>(data);
    if (StartsStream(info)) {
        const std::lock_guard<std::mutex> lock(trim.mutex);
        trim.asked = 0;
        return GST_PAD_PROBE_OK;
    }
    if ((GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) == 0) {
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    const GstAudioClippingMeta* meta = gst_buffer_get_audio_clipping_meta(buffer);
    // Only frames the parser clips whole: it gives them no duration. The Info frame itself is
    // marked decode-only, and each decoder drops it its own way; frames clipped in part decode
    // and clip well, and keep their marks.
    if (meta == nullptr || meta->format != GST_FORMAT_DEFAULT ||
        GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DECODE_ONLY) || !GST_BUFFER_DURATION_IS_VALID(buffer) ||
        GST_BUFFER_DURATION(buffer) != 0) {
        return GST_PAD_PROBE_OK;
    }
    {
        const std::lock_guard<std::mutex> lock(trim.mutex);
        trim.asked += meta->start;
    }
    buffer = gst_buffer_make_writable(buffer);
    if (GstAudioClippingMeta* own = gst_buffer_get_audio_clipping_meta(buffer)) {
        gst_buffer_remove_meta(buffer, &own->meta);
    }
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    return GST_PAD_PROBE_OK;
}

GstPadProbeReturn AtRawAudio(GstPad* pad, GstPadProbeInfo* info, gpointer data)
{
    auto& trim = *static_cast<Trim*>(data);
    const std::lock_guard<std::mutex> lock(trim.mutex);
    if (StartsStream(info)) {
        trim.dropped = 0;
        trim.shift = 0;
        return GST_PAD_PROBE_OK;
    }
    if ((GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) == 0) {
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (trim.dropped < trim.asked) {
        GstAudioInfo format;
        GstCaps* caps = gst_pad_get_current_caps(pad);
        const bool known = caps != nullptr && gst_audio_info_from_caps(&format, caps) && format.bpf > 0 &&
                           format.rate > 0 && format.layout == GST_AUDIO_LAYOUT_INTERLEAVED;
        if (caps != nullptr) {
            gst_caps_unref(caps);
        }
        if (!known) {
            trim.dropped = trim.asked; // a format not cut here plays whole
            return GST_PAD_PROBE_OK;
        }
        const gsize size = gst_buffer_get_size(buffer);
        const guint64 frames = size / static_cast<guint>(format.bpf);
        const guint64 cut = std::min(frames, trim.asked - trim.dropped);
        const GstClockTime cutTime = gst_util_uint64_scale_int(cut, GST_SECOND, format.rate);
        const GstClockTime start = GST_BUFFER_PTS(buffer);
        trim.dropped += cut;
        trim.shift += cutTime;
        if (cut == frames) {
            return GST_PAD_PROBE_DROP;
        }
        GstBuffer* rest = gst_buffer_copy_region(buffer, GST_BUFFER_COPY_ALL, cut * static_cast<guint>(format.bpf),
                                                 size - cut * static_cast<guint>(format.bpf));
        if (GST_CLOCK_TIME_IS_VALID(start)) {
            GST_BUFFER_PTS(rest) = start + cutTime;
        }
        GST_BUFFER_DURATION(rest) = gst_util_uint64_scale_int(frames - cut, GST_SECOND, format.rate);
        gst_buffer_unref(buffer);
        buffer = rest;
        GST_PAD_PROBE_INFO_DATA(info) = buffer;
    }
    if (trim.shift > 0 && GST_BUFFER_PTS_IS_VALID(buffer)) {
        buffer = gst_buffer_make_writable(buffer);
        const GstClockTime at = GST_BUFFER_PTS(buffer);
        GST_BUFFER_PTS(buffer) = at > trim.shift ? at - trim.shift : 0;
        GST_PAD_PROBE_INFO_DATA(info) = buffer;
    }
    return GST_PAD_PROBE_OK;
}

void OnElementAdded(GstBin*, GstBin*, GstElement* element, gpointer data)
{
    if (!GST_IS_AUDIO_DECODER(element)) {
        return;
    }
    if (GstPad* input = gst_element_get_static_pad(element, "sink")) {
        gst_pad_add_probe(input, kProbed, &AtDecoderInput, data, nullptr);
        gst_object_unref(input);
    }
}

} // namespace

void TrimEncoderDelay(GstElement* bin, GstElement* afterDecoding)
{
    auto* trim = new Trim;
    g_object_set_data_full(G_OBJECT(bin), "lectoria-encoder-delay-trim", trim,
                           [](gpointer data) { delete static_cast<Trim*>(data); });
    g_signal_connect(bin, "deep-element-added", G_CALLBACK(&OnElementAdded), trim);
    GstPad* rawAudio = gst_element_get_static_pad(afterDecoding, "sink");
    gst_pad_add_probe(rawAudio, kProbed, &AtRawAudio, trim, nullptr);
    gst_object_unref(rawAudio);
}

} // namespace lectoria::platform
