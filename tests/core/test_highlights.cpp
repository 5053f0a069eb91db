#include "search/Highlights.h"

#include <gtest/gtest.h>

using namespace lectoria::search;

namespace {

TEST(HighlightSpans, FirstPlaceOfEachPatternInLowerCaseAndEveryDigitForANumber)
{
    struct Case
    {
        const char* text;
        const char* highlights;
        std::vector<TextSpan> spans;
    };
    const Case cases[] = {
        {"He has gone home.", " has /has'/", {{2, 5}}},
        {"Has he gone? He has.", "has /has'/", {{0, 4}}},
        {"It costs 25 pounds.", "1/", {{9, 1}, {10, 1}}},
        {"Nothing here.", "apple/", {}},
        {"Any text.", "", {}},
        {"A cat, a dog.", "/a /", {{0, 2}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HighlightSpans(c.text, c.highlights), c.spans) << c.text << " | " << c.highlights;
    }
}

} // namespace
