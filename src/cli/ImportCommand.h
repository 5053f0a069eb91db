#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/// The command's lines for the usage text, a literal so that it joins the others.
#define LECTORIA_IMPORT_USAGE                                                                                          \
    "  import --root LIBRARY --book NAME --title TITLE\n"                                                              \
    "         (--audio FILE --timed FILE | --text FILE [--voice NAME] [--wpm N])\n"                                    \
    "         [--number DIGITS]\n"                                                                                     \
    "                                  make a new lesson \"Lesson NNN TITLE\" in book NAME of\n"                       \
    "                                  the library at LIBRARY, from an audio or video file\n"                          \
    "                                  cut at the cues of its LRC, SRT or WebVTT file, or from\n"                      \
    "                                  English text spoken by espeak-ng (default voice en-us,\n"                       \
    "                                  150 words per minute); NNN is the book's next free\n"                           \
    "                                  number unless --number gives one; prints the lesson\n"                          \
    "                                  folder, then one line per sentence file: number, start\n"                       \
    "                                  ms, end ms and file name, tab-separated\n"

namespace lectoria::cli {

/// "import": makes a lesson from audio with timed text, or from English text spoken aloud.
/// `args` starts with the command name. Exit 0 on success, 2 for bad arguments, 1 when the import
/// fails (the library is then as it was).
int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace lectoria::cli
