// Loudness, speech extent, the recorder's silence gate and pitch, on sounds whose answers are known:
// tones, glides, noise, clicks, and a sentence spoken by espeak-ng.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "SpokenFixture.h"
#include "audio/SpeechAnalysis.h"
#include "audio/SpeechProfile.h"

using namespace lectoria;
using audio::FindSpeech;
using audio::MedianPitchHz;
using audio::PitchContour;
using audio::SpeechGate;
using import::PcmAudio;

namespace {

/// Builds a fixture piece by piece at one sample rate.
class Sound
{
public:
    explicit Sound(int rate) { m_pcm.sampleRate = rate; }

    /// A tone whose partials are `harmonics` (amplitude of the fundamental, the second, ...),
    /// gliding from `fromHz` to `toHz`; `level` is the peak as a fraction of full scale.
    Sound& Tone(int ms, double fromHz, double toHz, double level, std::vector<double> harmonics = {1.0})
    {
        const std::size_t count = Samples(ms);
        double total = 0;
        for (const double h : harmonics) {
            total += h;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const double hz = fromHz + (toHz - fromHz) * static_cast<double>(i) / static_cast<double>(count);
            m_phase += 2 * std::numbers::pi * hz / m_pcm.sampleRate;
            double value = 0;
            for (std::size_t k = 0; k < harmonics.size(); ++k) {
                value += harmonics[k] * std::sin(static_cast<double>(k + 1) * m_phase);
            }
            Push(value / total * level);
        }
        return *this;
    }
    Sound& Sine(int ms, double hz, double level = 0.5) { return Tone(ms, hz, hz, level); }
    Sound& Silence(int ms)
    {
        m_pcm.samples.insert(m_pcm.samples.end(), Samples(ms), 0);
        return *this;
    }
    /// White noise of the given RMS level in dBFS.
    Sound& Noise(int ms, double db)
    {
        std::normal_distribution<double> gauss(0.0, std::pow(10.0, db / 20.0));
        for (std::size_t i = 0, count = Samples(ms); i < count; ++i) {
            Push(gauss(m_random));
        }
        return *this;
    }
    /// A few samples at full scale, as a knock on the microphone.
    Sound& Click()
    {
        for (int i = 0; i < 40; ++i) {
            Push(i % 2 == 0 ? 0.9 : -0.9);
        }
        return *this;
    }
    /// Adds white noise of the given RMS level in dBFS under everything there is so far.
    Sound& UnderNoise(double db)
    {
        std::normal_distribution<double> gauss(0.0, std::pow(10.0, db / 20.0) * 32768.0);
        for (std::int16_t& sample : m_pcm.samples) {
            sample = Clamp(sample + gauss(m_random));
        }
        return *this;
    }
    /// Adds a steady tone under everything there is so far.
    Sound& UnderTone(double hz, double level)
    {
        for (std::size_t i = 0; i < m_pcm.samples.size(); ++i) {
            const double t = static_cast<double>(i) / m_pcm.sampleRate;
            m_pcm.samples[i] = Clamp(m_pcm.samples[i] + level * 32768.0 * std::sin(2 * std::numbers::pi * hz * t));
        }
        return *this;
    }

    std::int64_t ms() const { return m_pcm.DurationMs(); }
    const PcmAudio& pcm() const { return m_pcm; }

private:
    std::size_t Samples(int ms) const { return static_cast<std::size_t>(m_pcm.sampleRate) * ms / 1000; }
    static std::int16_t Clamp(double value)
    {
        return static_cast<std::int16_t>(std::lround(std::clamp(value, -32768.0, 32767.0)));
    }
    void Push(double fraction) { m_pcm.samples.push_back(Clamp(fraction * 32768.0)); }

    PcmAudio m_pcm;
    double m_phase = 0;
    std::mt19937 m_random{7};
};

std::vector<float> Voiced(const std::vector<float>& contour)
{
    std::vector<float> voiced;
    for (const float hz : contour) {
        if (hz > 0) {
            voiced.push_back(hz);
        }
    }
    return voiced;
}

TEST(LoudnessEnvelope, MeasuresRmsInDecibelsBelowFullScale)
{
    struct Case
    {
        const char* name;
        PcmAudio pcm;
        float db;
    };
    PcmAudio square{8000, std::vector<std::int16_t>(800)};
    for (std::size_t i = 0; i < square.samples.size(); ++i) {
        square.samples[i] = i % 2 == 0 ? 32767 : -32768;
    }
    const std::vector<Case> cases = {
        {"full-scale square", square, 0.0f},
        {"full-scale sine", Sound(16000).Sine(100, 250, 1.0).pcm(), -3.01f},
        {"sine at a hundredth", Sound(16000).Sine(100, 250, 0.01).pcm(), -43.01f},
        {"digital silence", Sound(16000).Silence(100).pcm(), audio::kSilenceDb},
        {"below the floor", Sound(16000).Sine(100, 250, 0.00004).pcm(), audio::kSilenceDb},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> db = audio::LoudnessEnvelope(c.pcm);
        ASSERT_EQ(db.size(), 10u);
        for (const float value : db) {
            EXPECT_NEAR(value, c.db, 0.05f);
        }
    }
}

TEST(LoudnessEnvelope, HasOneValuePerHopAndMeasuresTheShortLastHopOnItsOwn)
{
    // 105 ms: ten whole hops of silence, then 5 ms of a loud tone.
    const PcmAudio pcm = Sound(16000).Silence(100).Sine(5, 1000, 1.0).pcm();
    const std::vector<float> db = audio::LoudnessEnvelope(pcm);
    ASSERT_EQ(db.size(), 11u);
    EXPECT_EQ(db[9], audio::kSilenceDb);
    EXPECT_NEAR(db[10], -3.0f, 0.3f);
    EXPECT_EQ(audio::LoudnessEnvelope(pcm, 50).size(), 3u);
    EXPECT_TRUE(audio::LoudnessEnvelope(PcmAudio{}).empty());
}

TEST(MedianPitch, SteadySinesAreMeasuredWellWithinOnePercent)
{
    for (const int rate : {16000, 22050, 44100}) {
        for (const double hz : {100.0, 180.0, 220.0, 350.0}) {
            SCOPED_TRACE(testing::Message() << hz << " Hz at " << rate);
            const PcmAudio pcm = Sound(rate).Silence(200).Sine(800, hz).Silence(200).pcm();
            EXPECT_NEAR(MedianPitchHz(pcm, 300, 900), hz, hz * 0.002);
            // The whole steady part is voiced, without gaps, and nowhere an octave off.
            const std::vector<float> contour = PitchContour(pcm);
            std::vector<std::size_t> off;
            for (std::size_t h = 25; h < 95; ++h) {
                if (std::abs(contour[h] - hz) > hz * 0.01) {
                    off.push_back(h);
                }
            }
            EXPECT_EQ(off, std::vector<std::size_t>{}) << "hops off the pitch";
        }
    }
}

TEST(MedianPitch, AVowelWithAStrongSecondHarmonicIsNotReadAnOctaveHigh)
{
    // Partials of a low voice: the fundamental weaker than its overtones.
    const std::vector<double> vowel = {0.4, 1.0, 0.7, 0.5, 0.3, 0.2};
    for (const double hz : {90.0, 120.0, 210.0}) {
        SCOPED_TRACE(hz);
        const PcmAudio pcm = Sound(22050).Silence(100).Tone(600, hz, hz, 0.6, vowel).Silence(100).pcm();
        EXPECT_NEAR(MedianPitchHz(pcm, 0, pcm.DurationMs()), hz, hz * 0.005);
    }
}

TEST(MedianPitch, CountsOnlyTheGivenRangeAndIsZeroWithoutVoice)
{
    const PcmAudio pcm = Sound(16000).Sine(500, 150).Sine(500, 300).Silence(300).pcm();
    EXPECT_NEAR(MedianPitchHz(pcm, 50, 450), 150, 1.0);
    EXPECT_NEAR(MedianPitchHz(pcm, 550, 950), 300, 2.0);
    EXPECT_EQ(MedianPitchHz(pcm, 1020, 1300), 0.0);
    EXPECT_EQ(MedianPitchHz(pcm, 400, 400), 0.0);
    EXPECT_EQ(MedianPitchHz(PcmAudio{}, 0, 1000), 0.0);
}

TEST(PitchContour, FollowsAGlideUpwards)
{
    const PcmAudio pcm = Sound(22050).Silence(100).Tone(1500, 110, 320, 0.5, {1.0, 0.5, 0.3}).Silence(100).pcm();
    const std::vector<float> contour = PitchContour(pcm);
    ASSERT_EQ(contour.size(), audio::LoudnessEnvelope(pcm).size());
    const std::vector<float> voiced = Voiced(contour);
    EXPECT_GT(voiced.size(), 140u);
    for (std::size_t i = 1; i < voiced.size(); ++i) {
        EXPECT_GE(voiced[i], voiced[i - 1] * 0.995f) << "value " << i;
    }
    EXPECT_NEAR(voiced.front(), 112, 6);
    EXPECT_NEAR(voiced.back(), 318, 8);
}

TEST(PitchContour, NoiseSilenceAndWhispersAreUnvoiced)
{
    struct Case
    {
        const char* name;
        PcmAudio pcm;
    };
    const std::vector<Case> cases = {
        {"silence", Sound(16000).Silence(1000).pcm()},
        {"loud noise", Sound(16000).Noise(1000, -12).pcm()},
        {"a tone too quiet to trust", Sound(16000).Sine(1000, 200, 0.002).pcm()},
        {"a tone below the voice range", Sound(16000).Sine(1000, 40).pcm()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> contour = PitchContour(c.pcm);
        EXPECT_EQ(contour.size(), 100u);
        EXPECT_LE(Voiced(contour).size(), 2u);
    }
}

TEST(FindSpeech, FindsAToneBetweenSilencesWithinOneHop)
{
    struct Case
    {
        int rate;
        int leadMs;
        int toneMs;
        int tailMs;
        double level;
    };
    const std::vector<Case> cases = {
        {16000, 500, 1200, 400, 0.5}, {22050, 730, 900, 1100, 0.9},   {44100, 0, 600, 300, 0.3},
        {16000, 455, 800, 0, 0.2},    {8000, 1000, 300, 1000, 0.004}, // a very quiet recording
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, lead " << c.leadMs << ", level " << c.level);
        const PcmAudio pcm = Sound(c.rate).Silence(c.leadMs).Sine(c.toneMs, 200, c.level).Silence(c.tailMs).pcm();
        const audio::SpeechSpan span = FindSpeech(pcm);
        ASSERT_TRUE(span.found());
        EXPECT_NEAR(span.startMs, c.leadMs, 10);
        EXPECT_NEAR(span.endMs, c.leadMs + c.toneMs, 10);
    }
}

TEST(FindSpeech, PassesOverHumBreathAndClicksBeforeTheSpeech)
{
    // Two syllables of a voice-like tone, with the room's sound before and under them.
    const auto speech = [](Sound& sound) {
        return sound.Tone(250, 140, 160, 0.5, {0.6, 1.0, 0.5, 0.3})
            .Silence(60)
            .Tone(300, 160, 120, 0.4, {0.6, 1.0, 0.5});
    };
    struct Case
    {
        const char* name;
        Sound sound;
        std::int64_t speechStart;
    };
    std::vector<Case> cases;
    {
        Sound room(16000);
        room.Silence(600).Noise(350, -42).Silence(300); // a breath
        const std::int64_t start = room.ms();
        speech(room).Silence(500).UnderNoise(-62);
        cases.push_back({"a breath in a quiet room", room, start});
    }
    {
        Sound clicks(16000);
        clicks.Silence(300).Click().Silence(400).Click().Silence(300);
        const std::int64_t start = clicks.ms();
        speech(clicks).Silence(400).Click().Silence(500);
        cases.push_back({"clicks before and after", clicks, start});
    }
    {
        Sound hum(22050);
        hum.Silence(800);
        const std::int64_t start = hum.ms();
        speech(hum).Silence(600).UnderTone(50, 0.03); // mains hum at -33 dBFS under it all
        cases.push_back({"mains hum", hum, start});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const audio::SpeechSpan span = FindSpeech(c.sound.pcm());
        ASSERT_TRUE(span.found());
        EXPECT_NEAR(span.startMs, c.speechStart, 10);
        EXPECT_NEAR(span.endMs, c.speechStart + 610, 10);
    }
}

TEST(FindSpeech, FindsNoSpeechInSilenceOrSteadyNoise)
{
    EXPECT_FALSE(FindSpeech(Sound(16000).Silence(2000).pcm()).found());
    EXPECT_FALSE(FindSpeech(Sound(16000).Noise(2000, -50).pcm()).found());
    EXPECT_FALSE(FindSpeech(Sound(16000).Silence(500).Click().Silence(500).pcm()).found());
    EXPECT_FALSE(FindSpeech(PcmAudio{}).found());
}

// Feeds `pcm` in chunks of `chunk` samples; returns the fed time at which the gate first reported
// speech and silence after it, -1 where it never did.
std::pair<std::int64_t, std::int64_t> FeedGate(SpeechGate& gate, const PcmAudio& pcm, std::size_t chunk)
{
    std::int64_t heard = -1;
    std::int64_t stopped = -1;
    for (std::size_t at = 0; at < pcm.samples.size(); at += chunk) {
        gate.Feed(pcm.samples.data() + at, std::min(chunk, pcm.samples.size() - at));
        if (heard < 0 && gate.heardSpeech()) {
            heard = gate.fedMs();
        }
        if (stopped < 0 && gate.silenceAfterSpeech()) {
            stopped = gate.fedMs();
        }
    }
    return {heard, stopped};
}

TEST(SpeechGate, StopsOneSecondAfterTheSpeechWhateverTheChunkSizes)
{
    for (const int rate : {16000, 44100}) {
        const PcmAudio pcm = Sound(rate).Silence(700).Sine(600, 180, 0.3).Silence(2000).pcm();
        for (const std::size_t chunk : {1u, 7u, 333u, 1021u, 4410u}) {
            SCOPED_TRACE(testing::Message() << rate << " Hz in chunks of " << chunk);
            SpeechGate gate(rate);
            const auto [heard, stopped] = FeedGate(gate, pcm, chunk);
            const std::int64_t slack = static_cast<std::int64_t>(chunk) * 1000 / rate + SpeechGate::kBlockMs;
            EXPECT_GE(heard, 700 + SpeechGate::kMinSpeechMs);
            EXPECT_LE(heard, 700 + SpeechGate::kMinSpeechMs + slack);
            EXPECT_GE(stopped, 2300);
            EXPECT_LE(stopped, 2300 + slack);
            EXPECT_EQ(gate.fedMs(), pcm.DurationMs());
        }
    }
}

TEST(SpeechGate, ClicksAndQuietSoundsAreNotSpeech)
{
    struct Case
    {
        const char* name;
        PcmAudio pcm;
        bool speech;
        std::int64_t stopMs; ///< when silence after speech is reported, -1 never
    };
    const std::vector<Case> cases = {
        {"a click in silence", Sound(16000).Silence(500).Click().Silence(2000).pcm(), false, -1},
        {"two clicks close together", Sound(16000).Silence(500).Click().Silence(15).Click().Silence(2000).pcm(), false,
         -1},
        {"a quiet room", Sound(16000).Noise(3000, -55).pcm(), false, -1},
        {"a murmur under -40 dBFS", Sound(16000).Silence(300).Sine(1000, 150, 0.01).Silence(1500).pcm(), false, -1},
        // A click in the pause after speech does not start the second of silence again.
        {"a click after speech", Sound(16000).Sine(500, 200).Silence(400).Click().Silence(1500).pcm(), true, 1500},
        {"speech without a pause after it", Sound(16000).Silence(1500).Sine(900, 200).pcm(), true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpeechGate gate(16000);
        const auto [heard, stopped] = FeedGate(gate, c.pcm, 160);
        EXPECT_EQ(gate.heardSpeech(), c.speech);
        if (c.stopMs < 0) {
            EXPECT_EQ(stopped, -1);
        } else {
            EXPECT_NEAR(stopped, c.stopMs, SpeechGate::kBlockMs);
        }
    }
}

TEST(SpeechGate, WaitsTheSilenceItWasGiven)
{
    const PcmAudio pcm = Sound(16000).Sine(400, 200).Silence(600).Sine(400, 200).Silence(3000).pcm();
    SpeechGate patient(16000, 1000);
    EXPECT_NEAR(FeedGate(patient, pcm, 512).second, 2400, 40);
    SpeechGate hasty(16000, 500);
    EXPECT_NEAR(FeedGate(hasty, pcm, 512).second, 900, 40);
}

TEST(SpeechProfile, LinesRecordingsUpWhereTheirSpeechStarts)
{
    const PcmAudio model = Sound(16000).Silence(300).Sine(1000, 200).Silence(200).pcm();
    const PcmAudio learner = Sound(16000).Silence(1100).Sine(1400, 200).Silence(900).pcm();
    const PcmAudio silent = Sound(16000).Silence(800).pcm();
    const audio::SpeechProfile m = audio::ProfileSpeech(model);
    const audio::SpeechProfile l = audio::ProfileSpeech(learner);
    const audio::SpeechProfile s = audio::ProfileSpeech(silent);
    EXPECT_NEAR(m.spokenMs(), 1000, 20);
    EXPECT_NEAR(l.spokenMs(), 1400, 20);
    EXPECT_EQ(s.spokenMs(), 800);
    EXPECT_NEAR(m.peak, 0.5, 0.001);

    const audio::SharedAxis axis = audio::AlignAtSpeechStart({&m, &l, &s});
    ASSERT_EQ(axis.offsetsMs.size(), 3u);
    // Speech starts at 1100 on the axis for both; the silent one starts there too.
    EXPECT_EQ(axis.offsetsMs[0] + m.speech.startMs, axis.offsetsMs[1] + l.speech.startMs);
    EXPECT_NEAR(axis.offsetsMs[0], 800, 10);
    EXPECT_EQ(axis.offsetsMs[1], 0);
    EXPECT_EQ(axis.offsetsMs[2], l.speech.startMs);
    EXPECT_EQ(axis.lengthMs, std::max(axis.offsetsMs[2] + 800, learner.DurationMs()));
}

TEST(SpeechProfile, WaveColumnsHoldEachStretchsLowestAndHighestSample)
{
    PcmAudio ramp{1000, {}};
    for (int i = 0; i < 100; ++i) {
        ramp.samples.push_back(static_cast<std::int16_t>((i - 50) * 100));
    }
    // 10 ms per column from 20 ms before the start: two columns before, ten over, two after.
    const std::vector<audio::WaveColumn> wave = audio::WaveColumns(ramp, -20, 10, 14);
    ASSERT_EQ(wave.size(), 14u);
    EXPECT_FALSE(wave[1].inAudio);
    ASSERT_TRUE(wave[2].inAudio);
    EXPECT_FLOAT_EQ(wave[2].low, -5000 / 32768.0f);
    EXPECT_FLOAT_EQ(wave[2].high, -4100 / 32768.0f);
    EXPECT_FLOAT_EQ(wave[11].high, 4900 / 32768.0f);
    EXPECT_FALSE(wave[12].inAudio);
}

TEST(SpokenSentence, HasAVoicesPitchAndItsSpeechWhereTheSoundIs)
{
    platform::EspeakSpeech speech;
    ASSERT_TRUE(speech.SelectVoice("en-us", 150).ok());
    PcmAudio spoken;
    ASSERT_TRUE(speech.Speak("Would you like a cup of tea before we go home?", spoken).ok());
    // The room before and after the sentence.
    Sound room(spoken.sampleRate);
    room.Silence(600);
    PcmAudio pcm = room.pcm();
    pcm.samples.insert(pcm.samples.end(), spoken.samples.begin(), spoken.samples.end());
    pcm.samples.insert(pcm.samples.end(), room.pcm().samples.begin(), room.pcm().samples.end());

    const auto [soundStart, soundEnd] = test::SoundExtentMs(pcm);
    const audio::SpeechSpan span = FindSpeech(pcm);
    ASSERT_TRUE(span.found());
    EXPECT_NEAR(span.startMs, soundStart, 40);
    EXPECT_NEAR(span.endMs, soundEnd, 80);

    const double median = MedianPitchHz(pcm, span.startMs, span.endMs);
    EXPECT_GT(median, 80);
    EXPECT_LT(median, 220);
    // Most of a sentence of vowels and voiced consonants has a pitch, none outside the speech.
    const std::vector<float> contour = PitchContour(pcm);
    std::size_t voicedInSpeech = 0;
    std::size_t hopsInSpeech = 0;
    for (std::size_t h = 0; h < contour.size(); ++h) {
        const std::int64_t ms = pcm.MsOf(h * static_cast<std::size_t>(pcm.sampleRate) / 100);
        if (ms >= span.startMs && ms < span.endMs) {
            ++hopsInSpeech;
            voicedInSpeech += contour[h] > 0 ? 1 : 0;
        } else if (ms < span.startMs - 30 || ms > span.endMs + 30) {
            EXPECT_EQ(contour[h], 0.0f) << "at " << ms << " ms";
        }
    }
    EXPECT_GT(voicedInSpeech, hopsInSpeech * 4 / 10);
}

} // namespace
