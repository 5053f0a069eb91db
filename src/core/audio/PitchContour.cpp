// Pitch by normalised autocorrelation: for each hop, how well a stretch of the audio matches itself
// one candidate period later, over the periods of a speaking voice.
#include <algorithm>
#include <cmath>

#include "audio/SpeechAnalysis.h"
#include "audio/SpeechHops.h"

namespace lectoria::audio {

namespace {

// The compared stretch is as long as two periods of a low voice, so low voices are measured on
// whole periods while a rising pitch is still followed within a syllable.
constexpr int kWindowMs = 30;
// A shorter period that matches nearly as well as the best one is the true period: a steady
// voice matches itself as well two periods later, which would read an octave low.
constexpr double kOctaveGuard = 0.9;
// Below this match the hop is breath, noise or a fricative rather than voice.
constexpr double kClarity = 0.6;
// Voice quieter than this, or this far below the loudest hop, is not trusted.
constexpr float kVoiceFloorDb = -50.0f;
constexpr float kBelowLoudestDb = 30.0f;
// Each value is replaced by the median of the voiced values this many hops to either side.
constexpr std::size_t kSmoothHops = 2;
// Voice lasts longer than this many hops; a shorter voiced run is a stray (a click, a fricative
// that happened to repeat itself).
constexpr std::size_t kShortestVoiceHops = 3;

class PitchTracker
{
public:
    explicit PitchTracker(const import::PcmAudio& pcm)
        : m_rate(pcm.sampleRate), m_minLag(static_cast<std::size_t>(std::floor(m_rate / kHighestPitchHz))),
          m_maxLag(static_cast<std::size_t>(std::ceil(m_rate / kLowestPitchHz))),
          m_window(static_cast<std::size_t>(pcm.sampleRate) * kWindowMs / 1000), m_frame(m_window + m_maxLag + 2),
          m_samples(pcm.samples.size()), m_energy(pcm.samples.size() + 1, 0.0)
    {
        for (std::size_t i = 0; i < pcm.samples.size(); ++i) {
            m_samples[i] = static_cast<float>(pcm.samples[i]) / 32768.0f;
            m_energy[i + 1] = m_energy[i] + static_cast<double>(m_samples[i]) * m_samples[i];
        }
        const std::vector<float> loudness = LoudnessEnvelope(pcm);
        const float loudest = loudness.empty() ? kSilenceDb : *std::max_element(loudness.begin(), loudness.end());
        m_floorDb = std::max(kVoiceFloorDb, loudest - kBelowLoudestDb);
        m_match.resize(m_maxLag + 2);
    }

    /// The pitch of the stretch centred on `centre`, 0 when unvoiced.
    float PitchAt(std::size_t centre)
    {
        if (m_minLag < 2 || m_samples.size() < m_frame) {
            return 0;
        }
        const std::size_t start = std::min(centre > m_frame / 2 ? centre - m_frame / 2 : 0, m_samples.size() - m_frame);
        const double own = Energy(start);
        if (DbOfMeanSquare(own / static_cast<double>(m_window) * 32768.0 * 32768.0) < m_floorDb) {
            return 0;
        }
        for (std::size_t lag = m_minLag - 1; lag <= m_maxLag + 1; ++lag) {
            const double denominator = std::sqrt(own * Energy(start + lag));
            m_match[lag] = denominator > 0 ? Dot(start, start + lag) / denominator : 0.0;
        }
        const auto peak = [this](std::size_t lag) {
            return m_match[lag] > m_match[lag - 1] && m_match[lag] >= m_match[lag + 1];
        };
        double best = 0;
        for (std::size_t lag = m_minLag; lag <= m_maxLag; ++lag) {
            if (peak(lag)) {
                best = std::max(best, m_match[lag]);
            }
        }
        if (best < kClarity) {
            return 0;
        }
        std::size_t chosen = m_minLag;
        while (!(peak(chosen) && m_match[chosen] >= kOctaveGuard * best)) {
            ++chosen;
        }
        // The true period lies between samples: the top of a parabola through the three matches.
        const double before = m_match[chosen - 1];
        const double at = m_match[chosen];
        const double after = m_match[chosen + 1];
        const double curve = before - 2 * at + after;
        const double shift = curve < 0 ? std::clamp(0.5 * (before - after) / curve, -0.5, 0.5) : 0.0;
        const double hz = m_rate / (static_cast<double>(chosen) + shift);
        return hz >= kLowestPitchHz && hz <= kHighestPitchHz ? static_cast<float>(hz) : 0.0f;
    }

private:
    double Energy(std::size_t from) const { return m_energy[from + m_window] - m_energy[from]; }

    double Dot(std::size_t a, std::size_t b) const
    {
        // Four running sums, so the compiler may keep them in one vector register.
        float sums[4] = {0, 0, 0, 0};
        const float* x = m_samples.data() + a;
        const float* y = m_samples.data() + b;
        std::size_t n = 0;
        for (; n + 4 <= m_window; n += 4) {
            for (std::size_t k = 0; k < 4; ++k) {
                sums[k] += x[n + k] * y[n + k];
            }
        }
        for (; n < m_window; ++n) {
            sums[0] += x[n] * y[n];
        }
        return static_cast<double>(sums[0]) + sums[1] + sums[2] + sums[3];
    }

    double m_rate;
    std::size_t m_minLag;
    std::size_t m_maxLag;
    std::size_t m_window;
    std::size_t m_frame;
    std::vector<float> m_samples;
    std::vector<double> m_energy; ///< running sum of squares: m_energy[i] covers samples [0, i)
    std::vector<double> m_match;  ///< match by lag, for the hop at hand
    float m_floorDb = kVoiceFloorDb;
};

// Values of hops [first, end): voiced runs too short to be voice dropped, and each remaining value
// replaced by the median of itself and its voiced neighbours.
std::vector<float> Contour(const import::PcmAudio& pcm, std::size_t hop, std::size_t first, std::size_t end)
{
    const std::size_t hops = (pcm.samples.size() + hop - 1) / hop;
    end = std::min(end, hops);
    if (first >= end) {
        return {};
    }
    // Enough hops around the range to judge the runs and the medians at its edges.
    constexpr std::size_t kAround = kShortestVoiceHops + kSmoothHops;
    const std::size_t from = first > kAround ? first - kAround : 0;
    const std::size_t to = std::min(hops, end + kAround);
    PitchTracker tracker(pcm);
    std::vector<float> raw(to - from);
    for (std::size_t h = from; h < to; ++h) {
        raw[h - from] = tracker.PitchAt(h * hop + hop / 2);
    }
    for (std::size_t run = 0; run < raw.size();) {
        std::size_t runEnd = run;
        while (runEnd < raw.size() && raw[runEnd] > 0) {
            ++runEnd;
        }
        if (runEnd - run < kShortestVoiceHops) {
            std::fill(raw.begin() + static_cast<std::ptrdiff_t>(run), raw.begin() + static_cast<std::ptrdiff_t>(runEnd),
                      0.0f);
        }
        run = runEnd + 1;
    }
    std::vector<float> smooth(end - first, 0.0f);
    std::vector<float> near;
    for (std::size_t h = first; h < end; ++h) {
        if (raw[h - from] == 0) {
            continue;
        }
        near.clear();
        for (std::size_t k = std::max(from, h - std::min(h, kSmoothHops)); k < std::min(to, h + kSmoothHops + 1); ++k) {
            if (raw[k - from] > 0) {
                near.push_back(raw[k - from]);
            }
        }
        std::nth_element(near.begin(), near.begin() + static_cast<std::ptrdiff_t>(near.size() / 2), near.end());
        smooth[h - first] = near[near.size() / 2];
    }
    return smooth;
}

} // namespace

std::vector<float> PitchContour(const import::PcmAudio& pcm, int hopMs)
{
    const std::size_t hop = HopSamples(pcm, hopMs);
    if (hop == 0) {
        return {};
    }
    return Contour(pcm, hop, 0, (pcm.samples.size() + hop - 1) / hop);
}

double MedianPitchHz(const import::PcmAudio& pcm, std::int64_t fromMs, std::int64_t toMs)
{
    constexpr int kHopMs = 10;
    const std::size_t hop = HopSamples(pcm, kHopMs);
    if (hop == 0 || toMs <= fromMs) {
        return 0;
    }
    // The hops whose first sample lies in the range.
    const auto hopAt = [&pcm, hop](std::int64_t ms) {
        const auto sample = static_cast<std::size_t>(std::max<std::int64_t>(0, ms) * pcm.sampleRate / 1000);
        return (sample + hop - 1) / hop;
    };
    std::vector<float> voiced = Contour(pcm, hop, hopAt(fromMs), hopAt(toMs));
    voiced.erase(std::remove(voiced.begin(), voiced.end(), 0.0f), voiced.end());
    if (voiced.empty()) {
        return 0;
    }
    std::sort(voiced.begin(), voiced.end());
    const std::size_t middle = voiced.size() / 2;
    return voiced.size() % 2 == 1 ? voiced[middle] : (static_cast<double>(voiced[middle - 1]) + voiced[middle]) / 2;
}

} // namespace lectoria::audio
