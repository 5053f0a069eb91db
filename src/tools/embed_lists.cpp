// Build-time tool: turns word-list files (one entry per line, exact bytes) into compiled-in
// '/'-joined list constants, so the program never reads its built-in data from disk.
//
// Usage: embed_lists OUT_HEADER OUT_SOURCE NAMESPACE LIST_FILE...
// Each list is named after its file's stem, which must be a valid identifier.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct List
{
    std::string name;
    std::string joined;
};

bool ReadList(const std::filesystem::path& file, List& list)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "embed_lists: cannot read " << file << '\n';
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    std::string text = content.str();
    if (text.find('\r') != std::string::npos) {
        std::cerr << "embed_lists: " << file << " has CR line ends; entries must be exact bytes\n";
        return false;
    }
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    for (char& c : text) {
        if (c == '\n') {
            c = '/';
        }
    }
    list.name = file.stem().string();
    list.joined = text;
    return true;
}

// Octal escapes keep the generated source plain ASCII and byte-exact; literals are cut into
// pieces because some compilers limit the length of one literal.
std::string Literal(const std::string& bytes)
{
    std::string out = "\"";
    std::size_t pieceLength = 0;
    for (unsigned char c : bytes) {
        if (pieceLength >= 1000) {
            out += "\"\n    \"";
            pieceLength = 0;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F && c != '?') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\%03o", c);
            out += escaped;
        }
        ++pieceLength;
    }
    return out + "\"";
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::cerr << "usage: embed_lists OUT_HEADER OUT_SOURCE NAMESPACE LIST_FILE...\n";
        return 2;
    }
    const std::filesystem::path header = argv[1];
    const std::filesystem::path source = argv[2];
    const std::string space = argv[3];
    std::vector<List> lists;
    for (int i = 4; i < argc; ++i) {
        List list;
        if (!ReadList(argv[i], list)) {
            return 1;
        }
        for (const List& earlier : lists) {
            if (earlier.name == list.name) {
                std::cerr << "embed_lists: two lists are named " << list.name << '\n';
                return 1;
            }
        }
        lists.push_back(list);
    }

    std::ofstream h(header, std::ios::binary);
    h << "// Generated from the files under data/ by embed_lists; do not edit.\n#pragma once\n\n"
         "#include <string_view>\n#include <utility>\n\nnamespace "
      << space << " {\n\n";
    for (const List& list : lists) {
        h << "extern const std::string_view " << list.name << ";\n";
    }
    h << "\n/// Every built-in list with its name, in name order.\n"
         "extern const std::pair<std::string_view, std::string_view> kAllLists["
      << lists.size() << "];\n\n} // namespace " << space << '\n';

    std::ofstream s(source, std::ios::binary);
    s << "// Generated from the files under data/ by embed_lists; do not edit.\n#include \""
      << header.filename().string() << "\"\n\nnamespace " << space << " {\n\n";
    for (const List& list : lists) {
        s << "const std::string_view " << list.name << " = " << Literal(list.joined) << ";\n\n";
    }
    s << "const std::pair<std::string_view, std::string_view> kAllLists[" << lists.size() << "] = {\n";
    for (const List& list : lists) {
        s << "    {\"" << list.name << "\", " << list.name << "},\n";
    }
    s << "};\n\n} // namespace " << space << '\n';
    return h && s ? 0 : 1;
}
