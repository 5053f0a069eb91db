#include "import/CuePlan.h"

#include <algorithm>
#include <limits>

#include "import/SentenceText.h"

namespace lectoria::import {

namespace {

// Cues shorter than this hold no sentence worth reading aloud.
constexpr std::int64_t kShortestCueMs = 100;

std::string JoinedLines(const Cue& cue)
{
    std::string text;
    for (const std::string& line : cue.lines) {
        if (!text.empty() && !line.empty()) {
            text += ' ';
        }
        text += line;
    }
    return CleanSentenceText(text);
}

} // namespace

CuePlan PlanCues(const TimedText& timedText, std::int64_t durationMs)
{
    const std::int64_t audioEnd = durationMs < 0 ? std::numeric_limits<std::int64_t>::max() : durationMs;
    std::vector<Cue> cues = timedText.cues;
    std::stable_sort(cues.begin(), cues.end(), [](const Cue& a, const Cue& b) { return a.startMs < b.startMs; });

    CuePlan plan;
    for (std::size_t i = 0; i < cues.size(); ++i) {
        const Cue& cue = cues[i];
        const SentenceWithNote sentence = SplitBilingual(cue.lines);
        const auto skip = [&](SkipReason reason) {
            plan.skipped.push_back(SkippedCue{cue.startMs, JoinedLines(cue), reason});
        };
        if (sentence.text.empty() && sentence.note.empty()) {
            skip(SkipReason::Empty);
            continue;
        }
        if (!HasEnglishLetter(sentence.text)) {
            skip(SkipReason::NotEnglish);
            continue;
        }
        if (cue.startMs >= audioEnd) {
            skip(SkipReason::PastEnd);
            continue;
        }
        // Every later cue, even one skipped for its text, still marks where this one's audio stops.
        // Cues sharing a start (two captions shown at once) share the audio up to the next start.
        std::size_t next = i + 1;
        while (next < cues.size() && cues[next].startMs == cue.startMs) {
            ++next;
        }
        const std::int64_t nextStart = next < cues.size() ? cues[next].startMs : audioEnd;
        std::int64_t end = cue.endMs < 0 ? nextStart : std::min(cue.endMs, nextStart);
        end = std::min(end, audioEnd);
        if (end == std::numeric_limits<std::int64_t>::max()) {
            end = -1; // to the end of audio of unknown length
        } else if (end - cue.startMs < kShortestCueMs) {
            skip(SkipReason::NoLength);
            continue;
        }
        plan.sentences.push_back(PlannedSentence{cue.startMs, end, sentence.text, sentence.note});
    }
    return plan;
}

const char* SkipReasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::Empty:
        return "empty";
    case SkipReason::NotEnglish:
        return "no English text";
    case SkipReason::PastEnd:
        return "starts after the end of the audio";
    case SkipReason::NoLength:
        return "no time left after clipping overlapping cues";
    }
    return "";
}

const char* SkipReasonTextZh(SkipReason reason)
{
    switch (reason) {
    case SkipReason::Empty:
        return "空白";
    case SkipReason::NotEnglish:
        return "没有英文";
    case SkipReason::PastEnd:
        return "开始时间超出音频结尾";
    case SkipReason::NoLength:
        return "与其他句子重叠，没有剩余时长";
    }
    return "";
}

} // namespace lectoria::import
