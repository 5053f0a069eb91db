#include "search/GrammarMarks.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include "grammar/TextRules.h"
#include "grammar/WordListData.h"

namespace lectoria::search {

namespace {

// The tags whose topics the search confirms by a mark; 独立结构 and 状语从句 are tagged in the
// data but no topic asks for them.
constexpr std::array<std::string_view, 10> kSearchedTags = {
    "其他系动词", "主谓宾宾补",   "分词结构", "with分词结构", "定语从句",
    "名词从句",   "虚拟语气主句", "过去分词", "现在分词",     "动名词",
};

// Child topic names that ask for a mark under another name.
struct TagReplacement
{
    std::string_view child;
    std::string_view tag;
};
constexpr std::array<TagReplacement, 5> kTagReplacements = {{
    {"非be连系动词", "其他系动词"},
    {"常用带宾补的动词", "主谓宾宾补"},
    {"与过去事实相反主句", "虚拟语气主句"},
    {"与现在事实相反主句", "虚拟语气主句"},
    {"对将来情况的主观推测主句", "虚拟语气主句"},
}};

bool IsAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsBlankOrControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
}

std::string_view TrimBlanks(std::string_view line)
{
    while (!line.empty() && IsBlankOrControl(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && IsBlankOrControl(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

QString DecodeMarkFile(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    QStringDecoder gb18030("GB18030");
    return gb18030.isValid() ? QString(gb18030.decode(bytes)) : QString();
}

} // namespace

MarkTag MarkTagOfTopic(std::string_view selection)
{
    const std::vector<std::string> parts = grammar::SplitList(selection, '+');
    MarkTag result;
    result.tag = parts.size() > 1 ? parts[1] : std::string();
    for (const TagReplacement& replacement : kTagReplacements) {
        if (result.tag == replacement.child) {
            result.tag = replacement.tag;
            break;
        }
    }
    result.markable = std::find(kSearchedTags.begin(), kSearchedTags.end(), result.tag) != kSearchedTags.end();
    return result;
}

bool IsMarkEntry(std::string_view entry)
{
    const std::size_t hash = entry.find('#');
    if (hash == 0 || hash == std::string_view::npos ||
        !std::all_of(entry.begin(), entry.begin() + static_cast<std::ptrdiff_t>(hash), IsAsciiAlnum)) {
        return false;
    }
    const std::vector<std::string> tags = grammar::SplitList(entry.substr(hash + 1), '#');
    return std::none_of(tags.begin(), tags.end(), [](const std::string& tag) {
        return tag.empty() || std::any_of(tag.begin(), tag.end(), IsBlankOrControl);
    });
}

std::string_view MarkIdOf(std::string_view entry)
{
    return entry.substr(0, entry.find('#'));
}

std::vector<std::string> ReadMarkFile(const std::string& path)
{
    std::vector<std::string> entries;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return entries;
    }
    const QString text = DecodeMarkFile(file.readAll());
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const std::string bytes = line.toStdString();
        // Surrounding blanks and a CR line end are invisible in an editor: they do not spoil a row.
        const std::string_view entry = TrimBlanks(bytes);
        if (IsMarkEntry(entry)) {
            entries.emplace_back(entry);
        }
    }
    return entries;
}

std::vector<std::string> LoadMarkList(const std::string& libraryRoot)
{
    std::vector<std::string> list = grammar::SplitList(grammar::lists::BuiltinMarks, '/');
    const std::filesystem::path ownFile = std::filesystem::path(libraryRoot) / kLibraryMarkFile;
    std::vector<std::string> own = ReadMarkFile(ownFile.string());
    list.insert(list.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
    return list;
}

bool HasMark(const std::vector<std::string>& list, std::string_view id, std::string_view tag)
{
    return std::any_of(list.begin(), list.end(), [id, tag](const std::string& entry) {
        return entry.find(id) != std::string::npos && entry.find(tag) != std::string::npos;
    });
}

} // namespace lectoria::search
