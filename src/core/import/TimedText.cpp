#include "import/TimedText.h"

#include <algorithm>
#include <optional>

#include "import/SentenceText.h"

namespace lectoria::import {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\f");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\f") - first + 1);
}

// Reads digits at `i`; nullopt when there are none.
std::optional<std::int64_t> ReadNumber(std::string_view text, std::size_t& i, std::size_t* digits = nullptr)
{
    const std::size_t start = i;
    std::int64_t value = 0;
    while (i < text.size() && IsDigit(text[i]) && i - start < 9) {
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (digits != nullptr) {
        *digits = i - start;
    }
    return i == start ? std::nullopt : std::optional<std::int64_t>(value);
}

// A fraction of a second written with `digits` digits, in milliseconds.
std::int64_t FractionMs(std::int64_t value, std::size_t digits)
{
    while (digits > 3) {
        value /= 10;
        --digits;
    }
    while (digits < 3) {
        value *= 10;
        ++digits;
    }
    return value;
}

// "mm:ss", "mm:ss.xx", "mm:ss.xxx" or "mm:ss:xx" filling the whole of `tag`.
std::optional<std::int64_t> ParseLrcTime(std::string_view tag)
{
    std::size_t i = 0;
    const auto minutes = ReadNumber(tag, i);
    if (!minutes || i >= tag.size() || tag[i] != ':') {
        return std::nullopt;
    }
    ++i;
    const auto seconds = ReadNumber(tag, i);
    if (!seconds || *seconds >= 60) {
        return std::nullopt;
    }
    std::int64_t ms = (*minutes * 60 + *seconds) * 1000;
    if (i < tag.size() && (tag[i] == '.' || tag[i] == ':')) {
        ++i;
        std::size_t digits = 0;
        const auto fraction = ReadNumber(tag, i, &digits);
        if (!fraction) {
            return std::nullopt;
        }
        ms += FractionMs(*fraction, digits);
    }
    return i == tag.size() ? std::optional<std::int64_t>(ms) : std::nullopt;
}

// Drops <...> word timings and markup from a line.
std::string StripAngleTags(std::string_view line)
{
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '<') {
            const std::size_t close = line.find('>', i);
            if (close != std::string_view::npos) {
                i = close;
                continue;
            }
        }
        out += line[i];
    }
    return out;
}

// SRT/VTT "[HH:]MM:SS[,.]mmm".
std::optional<std::int64_t> ParseClock(std::string_view text)
{
    text = Trim(text);
    std::vector<std::int64_t> parts;
    std::size_t i = 0;
    while (true) {
        const auto value = ReadNumber(text, i);
        if (!value) {
            return std::nullopt;
        }
        parts.push_back(*value);
        if (i < text.size() && text[i] == ':') {
            ++i;
            continue;
        }
        break;
    }
    if (parts.size() < 2 || parts.size() > 3) {
        return std::nullopt;
    }
    std::int64_t ms = 0;
    for (const std::int64_t part : parts) {
        ms = ms * 60 + part;
    }
    ms *= 1000;
    if (i < text.size() && (text[i] == ',' || text[i] == '.')) {
        ++i;
        std::size_t digits = 0;
        const auto fraction = ReadNumber(text, i, &digits);
        if (!fraction) {
            return std::nullopt;
        }
        ms += FractionMs(*fraction, digits);
    }
    return i == text.size() ? std::optional<std::int64_t>(ms) : std::nullopt;
}

// "start --> end [settings]".
std::optional<Cue> ParseTimingLine(std::string_view line)
{
    const std::size_t arrow = line.find("-->");
    if (arrow == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view after = Trim(line.substr(arrow + 3));
    const std::size_t blank = after.find_first_of(" \t");
    const auto start = ParseClock(line.substr(0, arrow));
    const auto end = ParseClock(after.substr(0, blank));
    if (!start || !end) {
        return std::nullopt;
    }
    Cue cue;
    cue.startMs = *start;
    cue.endMs = *end;
    return cue;
}

std::string DecodeEntities(std::string line)
{
    static const std::pair<std::string_view, std::string_view> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"},    {"&nbsp;", " "}, {"&lrm;", ""},
        {"&rlm;", ""}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"},
    };
    for (const auto& [entity, replacement] : entities) {
        for (std::size_t at = line.find(entity); at != std::string::npos;
             at = line.find(entity, at + replacement.size())) {
            line.replace(at, entity.size(), replacement);
        }
    }
    return line;
}

// "{\an8}" positioning codes some SRT files carry.
std::string StripBraceCodes(std::string_view line)
{
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '{' && i + 1 < line.size() && line[i + 1] == '\\') {
            const std::size_t close = line.find('}', i);
            if (close != std::string_view::npos) {
                i = close;
                continue;
            }
        }
        out += line[i];
    }
    return out;
}

// Blocks of lines separated by blank lines.
std::vector<std::vector<std::string>> Blocks(std::string_view text)
{
    std::vector<std::vector<std::string>> blocks(1);
    for (const std::string& line : SplitLines(text)) {
        if (Trim(line).empty()) {
            if (!blocks.back().empty()) {
                blocks.emplace_back();
            }
        } else {
            blocks.back().push_back(line);
        }
    }
    if (blocks.back().empty()) {
        blocks.pop_back();
    }
    return blocks;
}

// The cues of SRT or VTT blocks: the timing line may follow an identifier line.
void ReadCueBlocks(const std::vector<std::vector<std::string>>& blocks, bool vtt, TimedText& out)
{
    for (const std::vector<std::string>& block : blocks) {
        for (std::size_t t = 0; t < block.size() && t < 2; ++t) {
            std::optional<Cue> cue = ParseTimingLine(block[t]);
            if (!cue) {
                continue;
            }
            for (std::size_t k = t + 1; k < block.size(); ++k) {
                std::string line = StripAngleTags(vtt ? block[k] : StripBraceCodes(block[k]));
                cue->lines.push_back(vtt ? DecodeEntities(line) : line);
            }
            out.cues.push_back(*cue);
            break;
        }
    }
}

} // namespace

TimedText ParseLrc(std::string_view text)
{
    TimedText out;
    out.format = TimedTextFormat::Lrc;
    std::int64_t offset = 0;
    struct Line
    {
        std::vector<std::int64_t> times;
        std::string text;
    };
    std::vector<Line> lines;
    for (const std::string& raw : SplitLines(text)) {
        std::string_view rest = Trim(raw);
        Line line;
        while (!rest.empty() && rest.front() == '[') {
            const std::size_t close = rest.find(']');
            if (close == std::string_view::npos) {
                break;
            }
            const std::string_view tag = Trim(rest.substr(1, close - 1));
            if (const auto time = ParseLrcTime(tag)) {
                line.times.push_back(*time);
            } else if (Lower(tag.substr(0, 7)) == "offset:") {
                std::string_view value = Trim(tag.substr(7));
                const bool negative = !value.empty() && value.front() == '-';
                if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
                    value.remove_prefix(1);
                }
                std::size_t i = 0;
                if (const auto number = ReadNumber(value, i); number && i == value.size()) {
                    offset = negative ? -*number : *number;
                }
            }
            rest = Trim(rest.substr(close + 1));
        }
        if (line.times.empty()) {
            continue;
        }
        line.text = StripAngleTags(rest);
        lines.push_back(std::move(line));
    }
    for (const Line& line : lines) {
        for (const std::int64_t time : line.times) {
            const std::int64_t start = std::max<std::int64_t>(0, time - offset);
            // A second line at the same time right after its first carries the translation.
            if (line.times.size() == 1 && !out.cues.empty() && out.cues.back().startMs == start && !line.text.empty()) {
                out.cues.back().lines.push_back(line.text);
                continue;
            }
            Cue cue;
            cue.startMs = start;
            cue.lines.push_back(line.text);
            out.cues.push_back(std::move(cue));
        }
    }
    return out;
}

TimedText ParseSrt(std::string_view text)
{
    TimedText out;
    out.format = TimedTextFormat::Srt;
    ReadCueBlocks(Blocks(text), false, out);
    return out;
}

TimedText ParseWebVtt(std::string_view text)
{
    TimedText out;
    out.format = TimedTextFormat::WebVtt;
    std::vector<std::vector<std::string>> blocks = Blocks(text);
    std::vector<std::vector<std::string>> cueBlocks;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::string first = std::string(Trim(blocks[b].front()));
        const bool header = b == 0 && first.rfind("WEBVTT", 0) == 0;
        const bool skipped =
            first.rfind("NOTE", 0) == 0 || first.rfind("STYLE", 0) == 0 || first.rfind("REGION", 0) == 0;
        if (header) {
            // Header lines may run straight into the first cue without a blank line.
            std::vector<std::string> rest;
            for (std::size_t k = 1; k < blocks[b].size(); ++k) {
                if (!rest.empty() || blocks[b][k].find("-->") != std::string::npos) {
                    rest.push_back(blocks[b][k]);
                }
            }
            if (!rest.empty()) {
                cueBlocks.push_back(rest);
            }
        } else if (!skipped) {
            cueBlocks.push_back(blocks[b]);
        }
    }
    ReadCueBlocks(cueBlocks, true, out);
    return out;
}

TimedText ParseTimedText(std::string_view text, std::string_view fileName)
{
    const std::size_t dot = fileName.find_last_of('.');
    const std::string extension = dot == std::string_view::npos ? std::string() : Lower(fileName.substr(dot + 1));
    if (extension == "lrc") {
        return ParseLrc(text);
    }
    if (extension == "srt") {
        return ParseSrt(text);
    }
    if (extension == "vtt") {
        return ParseWebVtt(text);
    }
    if (Trim(text.substr(0, 16)).rfind("WEBVTT", 0) == 0) {
        return ParseWebVtt(text);
    }
    return text.find("-->") != std::string_view::npos ? ParseSrt(text) : ParseLrc(text);
}

const char* FormatName(TimedTextFormat format)
{
    switch (format) {
    case TimedTextFormat::Lrc:
        return "LRC";
    case TimedTextFormat::Srt:
        return "SRT";
    case TimedTextFormat::WebVtt:
        return "WebVTT";
    }
    return "";
}

} // namespace lectoria::import
