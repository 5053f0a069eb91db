#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QString>

#include "analysis/Parse.h"
#include "analysis/ParserSearch.h"
#include "import/MediaInterfaces.h"
#include "reading/IMediaPlayer.h"
#include "reading/PracticeInterfaces.h"

class QObject;

namespace lectoria::platform {

/// The sentence player with its output volume.
class ISentencePlayer : public reading::IMediaPlayer
{
public:
    /// Output volume, linear 0.0 … 1.0.
    virtual float volume() const = 0;
    virtual void setVolume(float volume) = 0;
};

/// What importing a lesson decodes, encodes and speaks with.
struct ImportTools
{
    std::unique_ptr<import::IAudioDecoder> decoder;
    std::unique_ptr<import::IMp3Encoder> encoder;
    std::unique_ptr<import::ISpeechSynthesizer> speech;
};

/// Everything of the window that needs GStreamer, Qt Multimedia, LAME, espeak-ng, Rubber Band or
/// Link Grammar. The window program opens it as a module at run time, once the window is up: the
/// dynamic linker binding these libraries at start-up cost the window a quarter of its time.
/// Every part may be made from any thread.
class MediaModule
{
public:
    virtual ~MediaModule() = default;
    virtual std::unique_ptr<ISentencePlayer> CreatePlayer() = 0;
    virtual std::unique_ptr<reading::ISpeechRenderer> CreateRenderer(const std::string& tempDir) = 0;
    /// The recorder on the default input, keeping recordings in the user's data folder; `finished`
    /// is called on the recorder's thread with each kept recording (empty when none was kept).
    virtual std::unique_ptr<reading::IShadowRecorder>
    CreateRecorder(std::function<void(const std::string& file)> finished) = 0;
    /// Calls `changed` whenever an audio input comes or goes, for as long as `owner` lives.
    virtual void WatchAudioInputs(QObject* owner, std::function<void()> changed) = 0;
    /// Decodes a sentence file (or a recording) to mono PCM.
    virtual import::MediaStatus DecodeSentenceFile(const std::string& path, import::PcmAudio& out) = 0;
    /// The grammar parser with its dictionary loaded; null, with `error`, when it cannot load.
    virtual std::unique_ptr<analysis::IParser> CreateParser(std::string& error) = 0;
    virtual ImportTools CreateImportTools() = 0;
};

/// The program's media module: the one given to UseMediaModule, else the module file beside the
/// program, loaded on first call. When that file cannot be loaded, every part reports why (the
/// player as a sentence it cannot play), and the rest of the window keeps working.
MediaModule& Media();

/// The program's parser desk (see analysis::SharedParserDesk), its parser made by Media().
std::shared_ptr<analysis::ParserDesk> MediaParserDesk(std::string& error);

/// Makes `module` the program's media module, for programs and tests that link it in. Call before
/// the first Media().
void UseMediaModule(MediaModule& module);

/// The module file the program loads: under the library folder of its install, found from the
/// program's own folder, as in the build tree.
QString DefaultMediaModulePath();

/// Loads the module file at `path` (its suffix may be left out); null, with `why`, when it cannot.
/// A loaded module stays loaded.
MediaModule* LoadMediaModule(const QString& path, QString* why);

/// Stands in for a module that could not be loaded: every part fails with `why`.
std::unique_ptr<MediaModule> MissingMediaModule(const std::string& why);

/// The name of the function a module file exports; it returns the module, which lives as long as
/// the process.
inline constexpr const char* kMediaModuleEntry = "lectoria_media_module";

} // namespace lectoria::platform
