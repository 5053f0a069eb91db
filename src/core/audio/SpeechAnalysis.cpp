#include "audio/SpeechAnalysis.h"

#include <algorithm>
#include <cmath>

#include "audio/SpeechHops.h"

namespace lectoria::audio {

namespace {

// A run of loud hops this long is sound that was meant, not a click.
constexpr std::size_t kSustainedHops = 3;
// Shorter loud runs this close to speech (a final "t", the burst of an initial "p") belong to it.
constexpr std::int64_t kAttachMs = 150;
// Where between the noise floor and the loudest sustained sound the bar for speech lies.
constexpr float kBarBetweenFloorAndPeak = 0.6f;
// Nothing quieter than this is speech, however silent the rest is.
constexpr float kAudibleDb = -60.0f;
// Speech stands at least this far above the recording's quietest stretches.
constexpr float kLeastContrastDb = 10.0f;

float Percentile(std::vector<float> values, double fraction)
{
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(index), values.end());
    return values[index];
}

// The loudest level the audio holds for kSustainedHops hops in a row.
float SustainedPeak(const std::vector<float>& db)
{
    if (db.size() < kSustainedHops) {
        return *std::max_element(db.begin(), db.end());
    }
    float peak = kSilenceDb;
    for (std::size_t i = 0; i + kSustainedHops <= db.size(); ++i) {
        peak = std::max(peak, *std::min_element(db.begin() + static_cast<std::ptrdiff_t>(i),
                                                db.begin() + static_cast<std::ptrdiff_t>(i + kSustainedHops)));
    }
    return peak;
}

struct HopRun
{
    std::size_t first = 0;
    std::size_t end = 0;
};

} // namespace

std::vector<float> LoudnessEnvelope(const import::PcmAudio& pcm, int hopMs)
{
    const std::size_t hop = HopSamples(pcm, hopMs);
    if (hop == 0) {
        return {};
    }
    const std::size_t count = pcm.samples.size();
    std::vector<float> db((count + hop - 1) / hop);
    for (std::size_t h = 0; h < db.size(); ++h) {
        const std::size_t begin = h * hop;
        const std::size_t end = std::min(count, begin + hop);
        double sum = 0;
        for (std::size_t i = begin; i < end; ++i) {
            sum += static_cast<double>(pcm.samples[i]) * pcm.samples[i];
        }
        db[h] = DbOfMeanSquare(sum / static_cast<double>(end - begin));
    }
    return db;
}

SpeechSpan FindSpeech(const import::PcmAudio& pcm)
{
    constexpr int kHopMs = 10;
    const std::vector<float> db = LoudnessEnvelope(pcm, kHopMs);
    if (db.empty()) {
        return {};
    }
    const float peak = SustainedPeak(db);
    if (peak < kAudibleDb) {
        return {};
    }
    const float floor = Percentile(db, 0.05);
    // Speech is told by standing out from quieter stretches; steady noise, a recording in which
    // nobody spoke or a tone from end to end has none to stand out from.
    if (peak - floor < kLeastContrastDb) {
        return {};
    }
    const float bar = floor + kBarBetweenFloorAndPeak * (peak - floor);

    std::vector<HopRun> runs;
    for (std::size_t h = 0; h < db.size(); ++h) {
        if (db[h] < bar) {
            continue;
        }
        if (!runs.empty() && runs.back().end == h) {
            runs.back().end = h + 1;
        } else {
            runs.push_back({h, h + 1});
        }
    }
    const auto sustained = [](const HopRun& run) { return run.end - run.first >= kSustainedHops; };
    const auto firstSustained = std::find_if(runs.begin(), runs.end(), sustained);
    if (firstSustained == runs.end()) {
        return {};
    }
    const auto lastSustained = std::find_if(runs.rbegin(), runs.rend(), sustained);
    const std::size_t hop = HopSamples(pcm, kHopMs);
    const auto hopsWithin = static_cast<std::size_t>(kAttachMs * pcm.sampleRate / 1000) / hop;

    std::size_t first = firstSustained->first;
    for (auto run = std::make_reverse_iterator(firstSustained); run != runs.rend() && first - run->end <= hopsWithin;
         ++run) {
        first = run->first;
    }
    std::size_t end = lastSustained->end;
    for (auto run = lastSustained.base(); run != runs.end() && run->first - end <= hopsWithin; ++run) {
        end = run->end;
    }
    return SpeechSpan{pcm.MsOf(first * hop), pcm.MsOf(std::min(pcm.samples.size(), end * hop))};
}

SpeechGate::SpeechGate(int sampleRate, int silenceMs)
    : m_sampleRate(std::max(1, sampleRate)),
      m_silenceSamples(static_cast<std::int64_t>(silenceMs) * m_sampleRate / 1000),
      m_blockSamples(std::max<std::size_t>(1, static_cast<std::size_t>(m_sampleRate) * kBlockMs / 1000)),
      m_loudSumOfSquares(std::pow(10.0, kSpeechDb / 10.0) * 32768.0 * 32768.0 * static_cast<double>(m_blockSamples)),
      m_minSpeechBlocks((static_cast<std::size_t>(kMinSpeechMs) + kBlockMs - 1) / kBlockMs)
{}

void SpeechGate::Feed(const std::int16_t* samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        m_sumOfSquares += static_cast<double>(samples[i]) * samples[i];
        ++m_fed;
        if (++m_inBlock == m_blockSamples) {
            EndBlock();
        }
    }
}

void SpeechGate::EndBlock()
{
    const bool loud = m_sumOfSquares >= m_loudSumOfSquares;
    m_sumOfSquares = 0;
    m_inBlock = 0;
    m_loudRun = loud ? m_loudRun + 1 : 0;
    if (m_loudRun >= m_minSpeechBlocks) {
        m_heardSpeech = true;
        m_lastSpeechEnd = m_fed;
    }
    if (m_heardSpeech && m_fed - m_lastSpeechEnd >= m_silenceSamples) {
        m_silenceAfterSpeech = true;
    }
}

std::int64_t SpeechGate::fedMs() const
{
    return m_fed * 1000 / m_sampleRate;
}

} // namespace lectoria::audio
