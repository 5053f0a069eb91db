#include "MediaModule.h"

#include <atomic>
#include <cstdint>
#include <cstring>

#ifdef __linux__
#include <link.h>
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

namespace lectoria::platform {

namespace {

std::atomic<MediaModule*> g_chosenModule{nullptr};

class UnavailablePlayer final : public ISentencePlayer
{
public:
    explicit UnavailablePlayer(std::string why) : m_why(std::move(why)) {}
    void SetAutoStart(bool) override {}
    void SetPlayCount(int) override {}
    void Open(const std::string&) override { m_lastError = m_why; }
    int PlayState() const override { return kStopped; }
    void Stop() override {}
    std::string LastError() const override { return m_lastError; }
    float volume() const override { return m_volume; }
    void setVolume(float volume) override { m_volume = volume; }

private:
    std::string m_why;
    std::string m_lastError;
    float m_volume = 1.0F;
};

class UnavailableRenderer final : public reading::ISpeechRenderer
{
public:
    explicit UnavailableRenderer(std::string why) : m_why(std::move(why)) {}
    reading::RenderedAudio Render(const std::string&, double) override { return {{}, -1, m_why}; }
    void Release() override {}

private:
    std::string m_why;
};

class UnavailableRecorder final : public reading::IShadowRecorder
{
public:
    explicit UnavailableRecorder(std::string why) : m_why(std::move(why)) {}
    bool IsAvailable(std::string* why) const override
    {
        if (why != nullptr) {
            *why = m_why;
        }
        return false;
    }
    bool Start(const std::string&, std::int64_t) override { return false; }
    bool IsRecording() const override { return false; }
    void Stop() override {}
    std::string LastError() const override { return m_why; }
    std::string LastRecordingOf(const std::string&) const override { return {}; }

private:
    std::string m_why;
};

class UnavailableImportTools final : public lectoria::import::IAudioDecoder,
                                     public lectoria::import::IMp3Encoder,
                                     public lectoria::import::ISpeechSynthesizer
{
public:
    explicit UnavailableImportTools(std::string why) : m_why(std::move(why)) {}
    lectoria::import::MediaStatus Decode(const std::string&, lectoria::import::PcmAudio&,
                                         const std::atomic<bool>*) override
    {
        return {m_why};
    }
    lectoria::import::MediaStatus Encode(const std::int16_t*, std::size_t, int, std::string&) override
    {
        return {m_why};
    }
    lectoria::import::MediaStatus SelectVoice(const std::string&, int) override { return {m_why}; }
    lectoria::import::MediaStatus Speak(const std::string&, lectoria::import::PcmAudio&) override { return {m_why}; }

private:
    std::string m_why;
};

class MissingModule final : public MediaModule
{
public:
    explicit MissingModule(std::string why) : m_why(std::move(why)) {}

    std::unique_ptr<ISentencePlayer> CreatePlayer() override { return std::make_unique<UnavailablePlayer>(m_why); }
    std::unique_ptr<reading::ISpeechRenderer> CreateRenderer(const std::string&) override
    {
        return std::make_unique<UnavailableRenderer>(m_why);
    }
    std::unique_ptr<reading::IShadowRecorder> CreateRecorder(std::function<void(const std::string&)>) override
    {
        return std::make_unique<UnavailableRecorder>(m_why);
    }
    void WatchAudioInputs(QObject*, std::function<void()>) override {}
    lectoria::import::MediaStatus DecodeSentenceFile(const std::string&, lectoria::import::PcmAudio&) override
    {
        return {m_why};
    }
    std::unique_ptr<analysis::IParser> CreateParser(std::string& error) override
    {
        error = m_why;
        return nullptr;
    }
    ImportTools CreateImportTools() override
    {
        return {std::make_unique<UnavailableImportTools>(m_why), std::make_unique<UnavailableImportTools>(m_why),
                std::make_unique<UnavailableImportTools>(m_why)};
    }

private:
    std::string m_why;
};

/// Why the module file at `path` is cut short, or empty. The dynamic linker maps a library's
/// segments as its headers describe them, and touching one past the end of a cut file (a copy or
/// an install that ran out of room) ends the process with SIGBUS instead of failing the load.
QString CutShort(const QString& path)
{
#ifdef Q_OS_LINUX
    QFile file(QFileInfo(path).isFile() ? path : path + QStringLiteral(".so"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QString(); // the loader says why it cannot be read
    }
    const qint64 size = file.size();
    ElfW(Ehdr) header{};
    if (file.read(reinterpret_cast<char*>(&header), sizeof header) != sizeof header ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) {
        return QString(); // not a library: the loader refuses it safely
    }
    const auto cut = [&file] { return QStringLiteral("%1: 文件不完整").arg(file.fileName()); };
    if (header.e_phentsize != sizeof(ElfW(Phdr)) ||
        static_cast<qint64>(header.e_phoff + std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr))) > size ||
        !file.seek(static_cast<qint64>(header.e_phoff))) {
        return cut();
    }
    for (int index = 0; index < header.e_phnum; ++index) {
        ElfW(Phdr) segment{};
        if (file.read(reinterpret_cast<char*>(&segment), sizeof segment) != sizeof segment) {
            return cut();
        }
        if (segment.p_type == PT_LOAD && segment.p_offset + segment.p_filesz > static_cast<std::uint64_t>(size)) {
            return cut();
        }
    }
#else
    Q_UNUSED(path);
#endif
    return QString();
}

} // namespace

void UseMediaModule(MediaModule& module)
{
    g_chosenModule.store(&module);
}

MediaModule& Media()
{
    if (MediaModule* chosen = g_chosenModule.load()) {
        return *chosen;
    }
    static MediaModule& module = []() -> MediaModule& {
        QString why;
        if (MediaModule* loaded = LoadMediaModule(DefaultMediaModulePath(), &why)) {
            return *loaded;
        }
        static const std::unique_ptr<MediaModule> missing =
            MissingMediaModule("声音和语法组件无法加载: " + why.toStdString());
        return *missing;
    }();
    return module;
}

std::shared_ptr<analysis::ParserDesk> MediaParserDesk(std::string& error)
{
    return analysis::SharedParserDesk([](std::string& why) { return Media().CreateParser(why); }, error);
}

QString DefaultMediaModulePath()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(LECTORIA_MEDIA_MODULE_DIR "/" LECTORIA_MEDIA_MODULE_NAME));
}

MediaModule* LoadMediaModule(const QString& path, QString* why)
{
    if (const QString broken = CutShort(path); !broken.isEmpty()) {
        if (why != nullptr) {
            *why = broken;
        }
        return nullptr;
    }
    QLibrary file(path);
    using Entry = MediaModule* (*)();
    const auto entry = reinterpret_cast<Entry>(file.resolve(kMediaModuleEntry));
    if (entry == nullptr) {
        if (why != nullptr) {
            *why = file.errorString();
        }
        return nullptr;
    }
    // The QLibrary object going out of scope leaves the file loaded: unload() is never called.
    return entry();
}

std::unique_ptr<MediaModule> MissingMediaModule(const std::string& why)
{
    return std::make_unique<MissingModule>(why);
}

} // namespace lectoria::platform
