#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lectoria::analysis {

/// One link of a linkage between two word positions, left < right.
struct Link
{
    int left = 0;
    int right = 0;
    std::string label;
};

/// One complete reading of a sentence: its words as the parser spells them ("done.a", "LEFT-WALL")
/// and the links between them.
struct Linkage
{
    std::vector<std::string> words;
    std::vector<Link> links;
    double cost = 0.0;
};

enum class ParseStatus
{
    Complete,          ///< at least one linkage that joins every word
    NoCompleteLinkage, ///< the grammar could not join every word
    TimedOut,          ///< the time limit ran out before a complete linkage was found
    Failed,            ///< the parser could not run (no dictionary, bad input)
};

/// What a parser made of one sentence; linkages in the parser's order of preference.
struct ParseResult
{
    ParseStatus status = ParseStatus::Failed;
    std::vector<Linkage> linkages;
    std::string message;
};

/// A sentence parser; Link Grammar in the program, fakes in tests.
class IParser
{
public:
    virtual ~IParser() = default;
    virtual ParseResult Parse(std::string_view sentence) = 0;
};

} // namespace lectoria::analysis
