#include "settings/Settings.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <variant>

#include "reading/SpeedSchedule.h"

namespace lectoria::settings {

namespace {

/// A proportion, stored as thousandths.
struct Scale
{
    float Settings::*member;
};
/// A flag, stored as 0 or 1.
struct Flag
{
    bool Settings::*member;
};
/// A number, brought back into its range when the profile holds one outside it.
struct Number
{
    int Settings::*member;
    int min;
    int max;
};
struct Text
{
    std::string Settings::*member;
};

/// Every profile key but the colours, in the order the profile is read and written; defaults
/// come from `Settings` itself.
struct Key
{
    const char* name;
    std::variant<Scale, Flag, Number, Text> kind;
};

const Key kKeys[] = {
    {"fListRightScale", Scale{&Settings::fListRightScale}},
    {"fGrammarTopScale", Scale{&Settings::fGrammarTopScale}},
    {"fWholeBottomScale", Scale{&Settings::fWholeBottomScale}},
    {"isColorTitle", Flag{&Settings::isColorTitle}},
    {"isColorClient", Flag{&Settings::isColorClient}},
    {"nRepeatPlayNum", Number{&Settings::nRepeatPlayNum, 1, kMaxRepeat}},
    {"nDuration", Number{&Settings::nDuration, 0, kIntervalEntries - 1}},
    {"nNowPlayNum", Number{&Settings::nNowPlayNum, 1, INT_MAX}},
    {"strFullPath", Text{&Settings::strFullPath}},
    {"strSubjectWord", Text{&Settings::strSubjectWord}},
    {"strSubjectBook", Text{&Settings::strSubjectBook}},
    {"strSubjectGrammar", Text{&Settings::strSubjectGrammar}},
    {"isSelectSubject", Flag{&Settings::isSelectSubject}},
    {"isSearchByParser", Flag{&Settings::isSearchByParser}},
    {"strSpeedSchedule", Text{&Settings::strSpeedSchedule}},
    {"isShadowing", Flag{&Settings::isShadowing}},
    {"isPlayBackRecording", Flag{&Settings::isPlayBackRecording}},
};

template <class... Visitors> struct Overloaded : Visitors...
{
    using Visitors::operator()...;
};
template <class... Visitors> Overloaded(Visitors...) -> Overloaded<Visitors...>;

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
    for (std::size_t entry = 0; entry < kColorCount; ++entry) {
        Rgb& color = settings.colorTable[entry];
        color.red = Byte(store.ReadInt(ColorKey(entry, "Red"), color.red));
        color.green = Byte(store.ReadInt(ColorKey(entry, "Green"), color.green));
        color.blue = Byte(store.ReadInt(ColorKey(entry, "Blue"), color.blue));
    }
    for (const Key& key : kKeys) {
        std::visit(Overloaded{
                       [&](const Scale& scale) {
                           float& value = settings.*scale.member;
                           value = ScaleFromProfile(store.ReadInt(key.name, ScaleToProfile(value)), value);
                       },
                       [&](const Flag& flag) {
                           bool& value = settings.*flag.member;
                           value = store.ReadInt(key.name, value ? 1 : 0) != 0;
                       },
                       [&](const Number& number) {
                           int& value = settings.*number.member;
                           value = std::clamp(store.ReadInt(key.name, value), number.min, number.max);
                       },
                       [&](const Text& text) {
                           std::string& value = settings.*text.member;
                           value = store.ReadString(key.name, value);
                       },
                   },
                   key.kind);
    }
    if (!settings.isColorClient) {
        settings.colorTable[kClientBackground] = buttonFace;
    }
    // A damaged schedule would read every sentence at a speed nobody chose; normal speed is safe.
    const auto schedule = reading::ParseSpeedSchedule(settings.strSpeedSchedule);
    settings.strSpeedSchedule = schedule ? schedule->Text() : reading::SpeedSchedule().Text();
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
    for (const Key& key : kKeys) {
        std::visit(Overloaded{
                       [&](const Scale& scale) { store.WriteInt(key.name, ScaleToProfile(settings.*scale.member)); },
                       [&](const Flag& flag) { store.WriteInt(key.name, settings.*flag.member ? 1 : 0); },
                       [&](const Number& number) { store.WriteInt(key.name, settings.*number.member); },
                       [&](const Text& text) { store.WriteString(key.name, settings.*text.member); },
                   },
                   key.kind);
    }
}

} // namespace lectoria::settings
