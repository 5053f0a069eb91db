#pragma once

#include <QByteArray>

#include "import/MediaInterfaces.h"

namespace lectoria::practice {

/// Mono 16-bit PCM as a canonical RIFF WAVE file, which every media back end plays.
QByteArray WavBytes(const import::PcmAudio& audio);

} // namespace lectoria::practice
