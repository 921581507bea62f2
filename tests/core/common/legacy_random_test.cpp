#include <gtest/gtest.h>

#include "core/common/legacy_random.h"

namespace quillory {
namespace {

std::vector<int> Draw(LegacyRandom& random, int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(random.Next());
    }
    return values;
}

TEST(LegacyRandom, SeedOneGivesTheClassicSequence) {
    LegacyRandom random;
    EXPECT_EQ(Draw(random, 10),
              (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}));
}

TEST(LegacyRandom, ReseedingRepeatsARun) {
    LegacyRandom random(20240501);
    const std::vector<int> first = Draw(random, 50);
    random.Seed(20240501);
    EXPECT_EQ(Draw(random, 50), first);
    random.Seed(20240502);
    EXPECT_NE(Draw(random, 50), first);
}

TEST(LegacyRandom, WrapsTheStateModulo2To32) {
    LegacyRandom random(0xFFFFFFFFu);
    // (2^32 - 1) * 214013 + 2531011 mod 2^32 = 2316998.
    EXPECT_EQ(random.Next(), 35);
    EXPECT_EQ(random.State(), 2316998u);
}

}  // namespace
}  // namespace quillory
