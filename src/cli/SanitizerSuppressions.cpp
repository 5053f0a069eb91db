// Sanitizer builds only: GStreamer, its codec plug-ins and GLib keep a few allocations until the
// process ends; they are not ours to free, and a leak report would fail every import.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libgst\nleak:libglib\nleak:libgobject\nleak:libavcodec\nleak:libavutil\nleak:libavformat\n"
           "leak:libespeak-ng\n";
}

extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}
