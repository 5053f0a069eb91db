#include "library/Books.h"

#include <algorithm>
#include <filesystem>

#include "grammar/TextRules.h"
#include "library/FileNames.h"
#include "library/Library.h"

namespace fs = std::filesystem;

namespace lectoria::library {

std::vector<std::string> LibraryBookNames(const std::string& libraryRoot)
{
    std::vector<std::string> names = BookNames();
    const std::size_t builtIn = names.size();
    std::error_code error;
    for (fs::directory_iterator it(fs::path(libraryRoot), error), end; !error && it != end; it.increment(error)) {
        std::error_code status;
        // Shown decoded, as the lessons of a book are, so a GBK-named folder reads right.
        const std::string name = DisplayName(it->path().filename().string());
        if (name.empty() || name.front() == '.' || !it->is_directory(status) ||
            std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(builtIn), name) !=
                names.begin() + static_cast<std::ptrdiff_t>(builtIn) ||
            LessonFolders(it->path().string()).empty()) {
            continue;
        }
        names.push_back(name);
    }
    std::sort(names.begin() + static_cast<std::ptrdiff_t>(builtIn), names.end(), LessThanIgnoringCase);
    return names;
}

std::string LibraryBookList(const std::string& libraryRoot)
{
    return grammar::JoinList(LibraryBookNames(libraryRoot), '/');
}

} // namespace lectoria::library
