#pragma once

#include "MediaModule.h"

namespace lectoria::platform {

/// The media module's parts, made from the libraries linked in: what the module file exports, and
/// what tests and tools that link those libraries use directly.
MediaModule& BuiltInMediaModule();

} // namespace lectoria::platform
