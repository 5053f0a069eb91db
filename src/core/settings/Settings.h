#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lectoria::settings {

/// One colour as the profile stores it: red, green and blue bytes.
struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

/// red | green << 8 | blue << 16, each component masked to 8 bits.
std::uint32_t ComposeColor(Rgb color);
Rgb SplitColor(std::uint32_t color);

inline constexpr std::size_t kColorCount = 13;

/// Entries of the colour table and what they paint.
enum ColorEntry : std::size_t
{
    kTitleText = 0,
    kTitleBackground = 1,
    kStatusText = 2,
    kClientBackground = 3,
    kWholeText = 4,
    kWholeBackground = 5,
    kCurrentText = 6,
    kCurrentBackground = 7,
    kGrammarText = 8,
    kGrammarBackground = 9,
    kListText = 10,
    kListBackground = 11,
    kListLine = 12,
};

/// The colour table a first start uses.
const std::array<Rgb, kColorCount>& DefaultColors();

/// The default selection of the grammar topic ("all+all+all").
inline constexpr const char* kDefaultSubjectGrammar = "所有+所有+所有";

/// Number of entries of the interval list; the last one, "Fit", waits a length-dependent time.
inline constexpr int kIntervalEntries = 22;
inline constexpr int kFitInterval = 21;
inline constexpr int kMaxRepeat = 99;

/// The panes' proportions: where the list ends on the right, where the grammar pane starts and
/// where the whole-sentence pane ends, as parts of the space they share.
struct PaneScales
{
    float fListRightScale = 0.25f;
    float fGrammarTopScale = 0.75f;
    float fWholeBottomScale = 0.15f;
};

/// Everything the program keeps in its profile between runs. The window's layout works on the
/// proportions where they are kept, so they have no second copy.
struct Settings : PaneScales
{
    std::array<Rgb, kColorCount> colorTable = DefaultColors();
    bool isColorTitle = false;
    bool isColorClient = true;
    int nRepeatPlayNum = 1;
    int nDuration = 0;
    int nNowPlayNum = 1;
    std::string strFullPath;
    std::string strSubjectWord;
    std::string strSubjectBook;
    std::string strSubjectGrammar = kDefaultSubjectGrammar;
    bool isSelectSubject = false;
    /// The topic search decides the topics the parser covers by its findings.
    bool isSearchByParser = false;
    /// The reading speed of each repetition, as the speed list shows it ("1.0", "0.7, 0.85, 1.0").
    std::string strSpeedSchedule = "1.0";
    /// The learner is recorded after each reading.
    bool isShadowing = false;
    /// Each shadowing recording is played back before the interval.
    bool isPlayBackRecording = true;
};

/// Named integers and strings with defaults: the application profile, section "kelvaro".
class ProfileStore
{
public:
    virtual ~ProfileStore() = default;
    /// The stored integer, or `fallback` when the key is missing or not a number.
    virtual int ReadInt(const std::string& key, int fallback) = 0;
    virtual std::string ReadString(const std::string& key, const std::string& fallback) = 0;
    virtual void WriteInt(const std::string& key, int value) = 0;
    virtual void WriteString(const std::string& key, const std::string& value) = 0;
    /// Writes pending changes to disk; false when that failed.
    virtual bool Flush() = 0;
    /// Where the profile is kept, for messages; empty when it has no file.
    virtual std::string Location() const { return std::string(); }
};

/// Loads every key in the profile's order. When `isColorClient` is off, the client colour
/// becomes `buttonFace`. Damaged values are brought back into their ranges.
Settings LoadSettings(ProfileStore& store, Rgb buttonFace);

/// Writes every key back in the profile's order.
void SaveSettings(ProfileStore& store, const Settings& settings);

/// A proportion as the profile stores it: times 1000, truncated toward zero.
int ScaleToProfile(float scale);

} // namespace lectoria::settings
