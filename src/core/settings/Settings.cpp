#include "settings/Settings.h"

#include <algorithm>
#include <cmath>

namespace lectoria::settings {

namespace {

const char* const kScaleKeys[] = {"fListRightScale", "fGrammarTopScale", "fWholeBottomScale"};

std::string ColorKey(std::size_t entry, const char* component)
{
    return std::to_string(entry) + component;
}

std::uint8_t Byte(int value)
{
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFu);
}

// A damaged proportion would collapse or invert a pane; keep it strictly inside the window.
float ScaleFromProfile(int value, float fallback)
{
    if (value <= 0 || value >= 1000) {
        return fallback;
    }
    return static_cast<float>(value) / 1000.0f;
}

} // namespace

std::uint32_t ComposeColor(Rgb color)
{
    return static_cast<std::uint32_t>(color.red) | static_cast<std::uint32_t>(color.green) << 8 |
           static_cast<std::uint32_t>(color.blue) << 16;
}

Rgb SplitColor(std::uint32_t color)
{
    return Rgb{static_cast<std::uint8_t>(color & 0xFFu), static_cast<std::uint8_t>((color >> 8) & 0xFFu),
               static_cast<std::uint8_t>((color >> 16) & 0xFFu)};
}

const std::array<Rgb, kColorCount>& DefaultColors()
{
    static const std::array<Rgb, kColorCount> colors = {{
        {255, 0, 0},
        {1, 83, 173},
        {255, 255, 0},
        {64, 128, 128},
        {0, 0, 255},
        {238, 255, 221},
        {255, 0, 0},
        {217, 255, 255},
        {255, 255, 255},
        {255, 128, 255},
        {0, 0, 0},
        {219, 255, 200},
        {255, 0, 0},
    }};
    return colors;
}

int ScaleToProfile(float scale)
{
    return static_cast<int>(std::trunc(static_cast<double>(scale) * 1000.0));
}

Settings LoadSettings(ProfileStore& store, Rgb buttonFace)
{
    Settings settings;
    const Settings defaults;
    for (std::size_t entry = 0; entry < kColorCount; ++entry) {
        Rgb& color = settings.colorTable[entry];
        color.red = Byte(store.ReadInt(ColorKey(entry, "Red"), color.red));
        color.green = Byte(store.ReadInt(ColorKey(entry, "Green"), color.green));
        color.blue = Byte(store.ReadInt(ColorKey(entry, "Blue"), color.blue));
    }
    float* const scales[] = {&settings.fListRightScale, &settings.fGrammarTopScale, &settings.fWholeBottomScale};
    for (std::size_t i = 0; i < std::size(scales); ++i) {
        *scales[i] = ScaleFromProfile(store.ReadInt(kScaleKeys[i], ScaleToProfile(*scales[i])), *scales[i]);
    }
    settings.isColorTitle = store.ReadInt("isColorTitle", 0) != 0;
    settings.isColorClient = store.ReadInt("isColorClient", 1) != 0;
    settings.nRepeatPlayNum = std::clamp(store.ReadInt("nRepeatPlayNum", defaults.nRepeatPlayNum), 1, kMaxRepeat);
    settings.nDuration = std::clamp(store.ReadInt("nDuration", defaults.nDuration), 0, kIntervalEntries - 1);
    settings.nNowPlayNum = std::max(store.ReadInt("nNowPlayNum", defaults.nNowPlayNum), 1);
    settings.strFullPath = store.ReadString("strFullPath", defaults.strFullPath);
    settings.strSubjectWord = store.ReadString("strSubjectWord", defaults.strSubjectWord);
    settings.strSubjectBook = store.ReadString("strSubjectBook", defaults.strSubjectBook);
    settings.strSubjectGrammar = store.ReadString("strSubjectGrammar", defaults.strSubjectGrammar);
    settings.isSelectSubject = store.ReadInt("isSelectSubject", 0) != 0;
    if (!settings.isColorClient) {
        settings.colorTable[kClientBackground] = buttonFace;
    }
    return settings;
}

void SaveSettings(ProfileStore& store, const Settings& settings)
{
    for (std::size_t entry = 0; entry < kColorCount; ++entry) {
        const Rgb color = settings.colorTable[entry];
        store.WriteInt(ColorKey(entry, "Red"), color.red);
        store.WriteInt(ColorKey(entry, "Green"), color.green);
        store.WriteInt(ColorKey(entry, "Blue"), color.blue);
    }
    const float scales[] = {settings.fListRightScale, settings.fGrammarTopScale, settings.fWholeBottomScale};
    for (std::size_t i = 0; i < std::size(scales); ++i) {
        store.WriteInt(kScaleKeys[i], ScaleToProfile(scales[i]));
    }
    store.WriteInt("isColorTitle", settings.isColorTitle ? 1 : 0);
    store.WriteInt("isColorClient", settings.isColorClient ? 1 : 0);
    store.WriteInt("nRepeatPlayNum", settings.nRepeatPlayNum);
    store.WriteInt("nDuration", settings.nDuration);
    store.WriteInt("nNowPlayNum", settings.nNowPlayNum);
    store.WriteString("strFullPath", settings.strFullPath);
    store.WriteString("strSubjectWord", settings.strSubjectWord);
    store.WriteString("strSubjectBook", settings.strSubjectBook);
    store.WriteString("strSubjectGrammar", settings.strSubjectGrammar);
    store.WriteInt("isSelectSubject", settings.isSelectSubject ? 1 : 0);
}

} // namespace lectoria::settings
