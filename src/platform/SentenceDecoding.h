#pragma once

#include <string>

#include "import/MediaInterfaces.h"

namespace lectoria::platform {

/// Decodes a sentence file (scrambled ".sau") or any plain audio file into mono PCM. A sentence file
/// is unscrambled into a private temporary file first, which is removed again.
lectoria::import::MediaStatus DecodeSentenceFile(const std::string& path, import::PcmAudio& out);

} // namespace lectoria::platform
