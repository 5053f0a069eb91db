#include "ProcessExit.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#if defined(__SANITIZE_ADDRESS__)
#define LECTORIA_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LECTORIA_LEAK_CHECK 1
#endif
#endif
#ifdef LECTORIA_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace lectoria::platform {

void EndProcess(int code)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
#ifdef LECTORIA_LEAK_CHECK
    __lsan_do_leak_check();
#endif
    std::_Exit(code);
}

} // namespace lectoria::platform
