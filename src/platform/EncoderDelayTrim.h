#pragma once

#include <gst/gst.h>

namespace lectoria::platform {

/// Keeps GStreamer's MP3 decoders from failing on the encoder delay that LAME records in a
/// file's Info frame. The MP3 parser marks those samples for the decoder to clip, and the mpg123
/// decoder of GStreamer 1.22 asks for an empty buffer for a frame it clips whole (every first
/// frame of a 16-24 kHz file, whose 576 samples are all delay) and prints "'size > 0' failed".
/// So the marks come off such frames before any decoder sees them, their samples are dropped
/// on the way to `afterDecoding` instead, and the rest of the stream moves back by as much, so
/// that the voice still starts at once. Frames clipped in part keep their marks.
///
/// `bin` is the pipeline or bin whose decoders are watched, also those a decodebin or playbin
/// inside it adds later; `afterDecoding` is the first element the decoded audio reaches. The
/// trimming lives as long as `bin`.
void TrimEncoderDelay(GstElement* bin, GstElement* afterDecoding);

} // namespace lectoria::platform
