#pragma once

#include <memory>
#include <string>

#include "analysis/ParserSearch.h"

namespace lectoria::platform {

/// The program's one Link Grammar parser with the parse cache in the user's data folder, made on
/// first use and kept. Loading the dictionary takes a moment, so the first call belongs off the
/// window's thread. Null with `error` set when the dictionary or the cache cannot be had; the
/// next call tries again.
std::shared_ptr<analysis::ParserDesk> ProgramParserDesk(std::string& error);

} // namespace lectoria::platform
