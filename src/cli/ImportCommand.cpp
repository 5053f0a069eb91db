#include "ImportCommand.h"

#include <csignal>
#include <map>
#include <ostream>

#include "Cli.h"
#include "EspeakSpeech.h"
#include "GstAudioDecoder.h"
#include "LameMp3Encoder.h"
#include "import/LessonBuilder.h"

namespace lectoria::cli {

namespace {

int Usage(std::ostream& err, const std::string& message)
{
    err << "lectoria-cli: " << message << '\n';
    return kUsageError;
}

} // namespace

int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    static const char* const known[] = {"root", "book", "title", "audio", "timed", "text", "voice", "wpm", "number"};
    std::map<std::string, std::string> options;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() <= 2 || arg.rfind("--", 0) != 0) {
            return Usage(err, "import takes no operand '" + arg + "' (see --help)");
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        bool isKnown = false;
        for (const char* option : known) {
            isKnown = isKnown || name == option;
        }
        if (!isKnown) {
            return Usage(err, "unknown option '" + arg + "' (see --help)");
        }
        if (options.count(name) != 0) {
            return Usage(err, "option '--" + name + "' given twice");
        }
        if (equals != std::string::npos) {
            options[name] = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            options[name] = args[++i];
        } else {
            return Usage(err, "option '--" + name + "' needs a value");
        }
    }
    const auto has = [&options](const char* name) { return options.count(name) != 0; };
    for (const char* required : {"root", "book", "title"}) {
        if (!has(required) || options[required].empty()) {
            return Usage(err, std::string("import needs --") + required);
        }
    }
    const bool fromAudio = has("audio") || has("timed");
    if (fromAudio == has("text") || (fromAudio && (!has("audio") || !has("timed")))) {
        return Usage(err, "import needs either --audio FILE --timed FILE or --text FILE");
    }
    if (fromAudio && (has("voice") || has("wpm"))) {
        return Usage(err, "--voice and --wpm go with --text only");
    }

    lectoria::import::ImportRequest request;
    request.libraryRoot = options["root"];
    request.book = options["book"];
    request.title = options["title"];
    const bool numbered = has("number");
    request.lessonNumber = numbered ? options["number"] : std::string();
    if (numbered &&
        (request.lessonNumber.empty() || request.lessonNumber.find_first_not_of("0123456789") != std::string::npos)) {
        return Usage(err, "--number takes digits, not '" + request.lessonNumber + "'");
    }
    if (fromAudio) {
        request.source = import::ImportRequest::Source::AudioWithTimedText;
        request.audioPath = options["audio"];
        request.timedTextPath = options["timed"];
    } else {
        request.source = import::ImportRequest::Source::Text;
        request.textPath = options["text"];
        if (has("voice")) {
            request.voice = options["voice"];
        }
        if (has("wpm")) {
            const std::string& wpm = options["wpm"];
            if (wpm.empty() || wpm.size() > 4 || wpm.find_first_not_of("0123456789") != std::string::npos) {
                return Usage(err, "--wpm takes a number of words per minute, not '" + wpm + "'");
            }
            request.wordsPerMinute = std::stoi(wpm);
        }
    }

    // A file-size limit then fails a write with EFBIG, which the import reports, instead of
    // killing the program halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    platform::GstAudioDecoder decoder;
    platform::LameMp3Encoder encoder;
    platform::EspeakSpeech speech;
    const import::ImportResult result = import::ImportLesson(request, {&decoder, &encoder, &speech});
    for (const import::SkippedCue& skipped : result.skipped) {
        err << "lectoria-cli: skipped the cue at " << skipped.startMs << " ms ("
            << import::SkipReasonText(skipped.reason) << ")" << (skipped.text.empty() ? "" : ": ") << skipped.text
            << '\n';
    }
    if (!result.ok()) {
        err << "lectoria-cli: import failed: " << import::ImportErrorMessage(result) << '\n';
        return 1;
    }
    out << result.lessonPath << '\n';
    for (const import::ImportedSentence& sentence : result.sentences) {
        out << sentence.number << '\t' << sentence.startMs << '\t' << sentence.endMs << '\t' << sentence.fileName
            << '\n';
    }
    return 0;
}

} // namespace lectoria::cli
