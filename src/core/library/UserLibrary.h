#pragma once

#include <string>
#include <vector>

namespace lectoria::library {

/// The user's own library root, where a first start puts the demo lessons and where notes are
/// written: $XDG_DATA_HOME/Lectoria/library (~/.local/share/Lectoria/library), ending with the
/// path separator.
std::string UserLibraryDirectory();

/// The demo library this program ships, ending with the separator: `share/lectoria/library`
/// beside an installed program's `bin` folder, else the program's own folder as a build tree
/// lays it out; empty when neither holds the default lesson.
std::string DemoLibraryDirectory();

/// What copying a library into another folder did.
struct CopyReport
{
    int copied = 0;                    ///< files that were missing and are there now
    std::vector<std::string> failures; ///< one message per file or folder that could not be copied

    bool ok() const { return failures.empty(); }
};

/// Copies every file below `source` that `destination` lacks, creating folders as needed. Each
/// file appears whole or not at all (written beside its place, then renamed), and a file that
/// exists in `destination` is never touched.
CopyReport CopyMissingFiles(const std::string& source, const std::string& destination);

} // namespace lectoria::library
