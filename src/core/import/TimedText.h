#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lectoria::import {

/// The kinds of timed text an audio file may come with.
enum class TimedTextFormat
{
    Lrc,
    Srt,
    WebVtt,
};

/// One timed piece of a subtitle or lyrics file, its text lines as the file has them.
struct Cue
{
    std::int64_t startMs = 0;
    std::int64_t endMs = -1; ///< -1: runs to the next cue (LRC)
    std::vector<std::string> lines;
};

/// The cues of a timed-text file in file order.
struct TimedText
{
    TimedTextFormat format = TimedTextFormat::Lrc;
    std::vector<Cue> cues;
};

/// LRC: one or more [mm:ss.xx] tags before each line's text, [offset:+/-ms] moving every tag
/// (a positive offset shows the text sooner), other [tag:value] lines ignored. A line whose time
/// tag equals the previous line's belongs to the same cue (the usual bilingual layout).
TimedText ParseLrc(std::string_view text);

/// SubRip: numbered blocks with "HH:MM:SS,mmm --> HH:MM:SS,mmm" and text lines.
TimedText ParseSrt(std::string_view text);

/// WebVTT: the WEBVTT header, NOTE/STYLE/REGION blocks skipped, cue settings and tags dropped.
TimedText ParseWebVtt(std::string_view text);

/// Picks the parser by the file name's extension (.lrc, .srt, .vtt), else by the content.
TimedText ParseTimedText(std::string_view text, std::string_view fileName);

/// "LRC", "SRT" or "WebVTT".
const char* FormatName(TimedTextFormat format);

} // namespace lectoria::import
