#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/TimedText.h"

namespace lectoria::import {

/// Why a cue of the source does not become a sentence.
enum class SkipReason
{
    Empty,      ///< no text at all
    NotEnglish, ///< no English letter (a Chinese-only line, music marks ...)
    PastEnd,    ///< starts at or after the end of the audio
    NoLength,   ///< nothing left once overlapping cues are clipped
};

/// A cue left out, for the list shown to the user.
struct SkippedCue
{
    std::int64_t startMs = 0;
    std::string text; ///< the cue's text as read (may be empty)
    SkipReason reason = SkipReason::Empty;
};

/// One sentence to cut from the audio.
struct PlannedSentence
{
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    std::string text;
    std::string note;
};

/// The sentences of a timed text in cue order, with what was skipped.
struct CuePlan
{
    std::vector<PlannedSentence> sentences;
    std::vector<SkippedCue> skipped;
};

/// Sorts cues by start, gives LRC cues the next cue's start as their end (the last one the end
/// of the audio), clips overlapping cues at the next start and every cue at the end of the
/// audio, and skips empty, non-English, past-the-end and zero-length cues. `durationMs` < 0
/// means the length of the audio is not known yet (a preview before decoding).
CuePlan PlanCues(const TimedText& timedText, std::int64_t durationMs);

/// A short English description of a skip reason, and the Chinese one the window shows.
const char* SkipReasonText(SkipReason reason);
const char* SkipReasonTextZh(SkipReason reason);

} // namespace lectoria::import
