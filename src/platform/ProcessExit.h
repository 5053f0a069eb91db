#pragma once

namespace lectoria::platform {

/// Ends the process with `code` once the application object is gone, without the libraries'
/// exit-time destructors. Qt Multimedia's PulseAudio engine (Qt 6.4) disconnects from the sound
/// server in its destructor without holding its loop's lock, and the loop's thread can then fail
/// libpulse's own consistency check and abort the process after everything was saved. Output is
/// flushed first, and a sanitizer build checks for leaks here instead of at exit.
[[noreturn]] void EndProcess(int code);

} // namespace lectoria::platform
