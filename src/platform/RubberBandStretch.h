#pragma once

#include "import/MediaInterfaces.h"

namespace lectoria::platform {

/// Plays `in` back at `speed` times its pace with its pitch kept (Rubber Band's offline engine, tuned
/// for speech), so a slowed sentence still sounds like the same voice. `speed` lies in 0.5 … 1.5;
/// at 1.0 the audio is copied as it is.
lectoria::import::MediaStatus StretchSpeech(const import::PcmAudio& in, double speed, import::PcmAudio& out);

} // namespace lectoria::platform
