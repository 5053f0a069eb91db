#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lectoria::cli {

/// "stretch IN OUT --speed S": writes the sentence IN (a scrambled .sau file, or any plain audio file)
/// as a WAV file OUT read at S times its pace with its pitch kept, and prints OUT, a tab, the input's
/// length and a tab and the output's length, in seconds with three decimals.
int Stretch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace lectoria::cli
