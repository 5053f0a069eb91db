#pragma once

#include <string>
#include <string_view>

namespace lectoria::library {

/// A file or folder name as the program shows, stores and compares it: the name itself when it
/// is UTF-8, else decoded from GB18030 (libraries unpacked from Windows archives carry GBK
/// names).
std::string DisplayName(std::string_view rawName);

/// The path on disk of a path made of shown names: a component that does not exist as written
/// is looked up among its folder's entries by shown name. A path that exists as written, or
/// that is all ASCII, comes back unchanged.
std::string FileSystemPath(std::string_view path);

} // namespace lectoria::library
