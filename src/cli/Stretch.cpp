#include "Stretch.h"

#include <cstdio>
#include <ostream>

#include "Cli.h"
#include "RubberBandStretch.h"
#include "SentenceDecoding.h"
#include "notes/LessonNotes.h"
#include "practice/WavFile.h"
#include "reading/SpeedSchedule.h"

namespace lectoria::cli {

namespace {

std::string Seconds(const import::PcmAudio& audio)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f",
                  audio.sampleRate > 0 ? static_cast<double>(audio.samples.size()) / audio.sampleRate : 0.0);
    return text;
}

} // namespace

int Stretch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto fail = [&err](const std::string& message, int status = kUsageError) {
        err << "lectoria-cli: " << message << '\n';
        return status;
    };
    std::vector<std::string> operands;
    std::string speedText;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--speed=", 0) == 0) {
            speedText = arg.substr(8);
        } else if (arg == "--speed") {
            if (i + 1 == args.size()) {
                return fail("option '--speed' needs a value");
            }
            speedText = args[++i];
        } else if (arg.rfind("--", 0) == 0) {
            return fail("stretch takes IN OUT --speed SPEED, not '" + arg + "'");
        } else {
            operands.push_back(arg);
        }
    }
    if (operands.size() != 2) {
        return fail("stretch needs an input sentence file and an output WAV file");
    }
    if (speedText.empty()) {
        return fail("stretch needs --speed SPEED, from 0.5 to 1.5");
    }
    const auto schedule = reading::ParseSpeedSchedule(speedText);
    if (!schedule || schedule->speeds().size() != 1) {
        return fail("the speed must be one number from 0.5 to 1.5, not '" + speedText + "'");
    }
    const std::string& in = operands[0];
    const std::string& output = operands[1];

    lectoria::import::PcmAudio audio;
    if (const import::MediaStatus decoded = platform::DecodeSentenceFile(in, audio); !decoded.ok()) {
        return fail("cannot decode '" + in + "': " + decoded.error);
    }
    lectoria::import::PcmAudio stretched;
    if (const import::MediaStatus status = platform::StretchSpeech(audio, schedule->SpeedOf(1), stretched);
        !status.ok()) {
        return fail("cannot stretch '" + in + "': " + status.error);
    }
    if (const notes::NoteStatus written = notes::WriteFileAtomically(output, practice::WavBytes(stretched));
        !written.ok) {
        return fail("cannot write '" + output + "'", kOutputError);
    }
    out << output << '\t' << Seconds(audio) << '\t' << Seconds(stretched) << '\n';
    return 0;
}

} // namespace lectoria::cli
