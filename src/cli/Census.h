#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lectoria::cli {

/// "census --root ROOT --books BOOKS": every selectable topic in table order, a tab and the
/// number of sentences of the books that a topic search without topic words finds for it.
int Census(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace lectoria::cli
