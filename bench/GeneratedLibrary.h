#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <unistd.h>

#include "library/Library.h"

namespace lectoria::bench {

/// Writes a library of empty sentence files under the system's temporary folder: every built-in
/// book with `lessonsPerBook` lessons ("Lesson 0001 Generated" …) of `sentencesPerLesson` files,
/// each named after `title(sentence)`. `name` keeps two benchmark programs' libraries apart.
inline std::filesystem::path GenerateLibrary(const std::string& name, int lessonsPerBook, int sentencesPerLesson,
                                             const std::function<std::string(int sentence)>& title)
{
    namespace fs = std::filesystem;
    const fs::path path = fs::temp_directory_path() / ("lectoria-bench-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(path);
    for (const std::string& book : library::BookNames()) {
        for (int lesson = 1; lesson <= lessonsPerBook; ++lesson) {
            char lessonName[64];
            std::snprintf(lessonName, sizeof lessonName, "Lesson %04d Generated", lesson);
            const fs::path folder = path / book / lessonName;
            fs::create_directories(folder);
            for (int sentence = 1; sentence <= sentencesPerLesson; ++sentence) {
                std::ofstream(folder / (library::TitleToFileName(title(sentence)) + ".sau"));
            }
        }
    }
    return path;
}

} // namespace lectoria::bench
