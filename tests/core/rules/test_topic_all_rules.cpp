#include <gtest/gtest.h>

#include "RuleTesting.h"

using lectoria::test::ExpectTopicCases;
using lectoria::test::TopicCase;

namespace {

TEST(AllTopics, EveryParentsAllChildFindsEverySentence)
{
    const TopicCase cases[] = {
        {"所有+所有", "", true, ""},
        {"所有+所有+所有", "Anything at all.", true, ""},
        {"代词+所有+所有", "No pronoun here.", true, ""},
        {"感叹词+拟音词", "Oh!", true, ""},
    };
    ExpectTopicCases(cases);
}

} // namespace
