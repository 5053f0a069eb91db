#pragma once

#include <string>
#include <vector>

namespace lectoria::library {

/// The books of a library: the nine built-in names, then every other folder of the root that holds
/// at least one lesson folder (the user's own books), in name order without regard to case.
std::vector<std::string> LibraryBookNames(const std::string& libraryRoot);

/// LibraryBookNames joined by '/', as the selection dialogs take it.
std::string LibraryBookList(const std::string& libraryRoot);

} // namespace lectoria::library
