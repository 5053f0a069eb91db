#pragma once

#include <cstddef>
#include <cstdint>

namespace lectoria::import {

/// Where the sound of a piece lies, as sample indices [first, end).
struct SampleRange
{
    std::size_t first = 0;
    std::size_t end = 0;
};

/// How silence is told from speech.
struct TrimOptions
{
    int marginMs = 150; ///< silence kept before the first and after the last sound
    int windowMs = 10;  ///< loudness is measured over windows this long
    /// A window is sound when its RMS reaches this (16-bit scale; about -46 dBFS) or a thirtieth of
    /// the piece's loudest window, whichever is more, so steady background noise reads as silence.
    double floorRms = 160.0;
};

/// The part of samples[0, count) to keep: from `marginMs` before the first window with sound to
/// `marginMs` after the last, never beyond the piece and never cutting into sound. A piece without
/// any sound is kept whole.
SampleRange TrimSilence(const std::int16_t* samples, std::size_t count, int sampleRate,
                        const TrimOptions& options = TrimOptions());

} // namespace lectoria::import
