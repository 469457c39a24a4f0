#include "core/effects/sine_table.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace vesk {
namespace {

// The wrap rule exactly as the loops state it.
std::int32_t LoopIndex(std::int64_t p) {
  while (p > 628) p -= 628;
  while (p < 0) p += 628;
  return static_cast<std::int32_t>(p);
}

// A table whose entry i holds i, so a lookup tells which entry it read.
SineTable IndexTable() {
  SineTable table;
  for (int i = 0; i < kSineTableSize; ++i) table[static_cast<std::size_t>(i)] = i;
  return table;
}

TEST(SineTable, RadiusTenGoldenEntries) {
  SineTable table;
  FillSineTable(table, 10);
  EXPECT_EQ(table[0], 0);
  EXPECT_EQ(table[157], 10);   // sin 1.57 x 10 = 9.999997
  EXPECT_EQ(table[314], 0);    // sin 3.14 x 10 = 0.016
  EXPECT_EQ(table[471], -10);
  EXPECT_EQ(table[628], 0);
  EXPECT_EQ(table[629], 0);    // sin 6.29 x 10 = 0.068
  EXPECT_EQ(table[5], 0);      // 0.49998
  EXPECT_EQ(table[6], 1);      // 0.59964
}

TEST(SineTable, EntriesMatchNearestEvenRoundingForEveryDialogRadius) {
  ASSERT_EQ(std::fegetround(), FE_TONEAREST);
  for (int radius = 0; radius <= 15; ++radius) {
    SineTable table;
    FillSineTable(table, radius);
    for (int i = 0; i < kSineTableSize; ++i) {
      const double exact = std::sin(i * 0.01) * radius;
      EXPECT_EQ(table[static_cast<std::size_t>(i)], static_cast<std::int32_t>(std::nearbyint(exact)))
          << "radius " << radius << " entry " << i;
      EXPECT_LE(std::abs(table[static_cast<std::size_t>(i)]), radius);
    }
  }
}

TEST(SineTable, RoundingSendsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(1.5), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(RoundHalfEven(-0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2.0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfEven(2.4999999), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3.0);
  EXPECT_EQ(RoundHalfEven(-2.6), -3.0);
  EXPECT_EQ(RoundHalfEven(7.0), 7.0);
}

TEST(SineTable, LookupWrapGoldenIndices) {
  const SineTable table = IndexTable();
  EXPECT_EQ(SineLookup(table, 628), 628);
  EXPECT_EQ(SineLookup(table, 629), 1);
  EXPECT_EQ(SineLookup(table, 1300), 44);
  EXPECT_EQ(SineLookup(table, -5), 623);
  EXPECT_EQ(SineLookup(table, 0), 0);
  EXPECT_EQ(SineLookup(table, 1256), 628);
  EXPECT_EQ(SineLookup(table, -628), 0);
  EXPECT_EQ(SineLookup(table, -629), 627);
}

TEST(SineTable, LookupAgreesWithTheWrapLoopsOverTheWhole32BitRange) {
  const SineTable table = IndexTable();
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::int32_t> any(std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max());
  std::uniform_int_distribution<std::int32_t> near(-3000, 3000);
  for (int i = 0; i < 400; ++i) {
    const std::int32_t p = i % 2 == 0 ? near(random) : any(random);
    ASSERT_EQ(SineLookup(table, p), LoopIndex(p)) << "phase " << p;
  }
  for (std::int32_t p : {std::numeric_limits<std::int32_t>::min(),
                         std::numeric_limits<std::int32_t>::max(), -1, 627, 630}) {
    EXPECT_EQ(SineLookup(table, p), LoopIndex(p)) << "phase " << p;
  }
}

TEST(SineTable, StartPhasesOfTwelveFrames) {
  const std::int32_t expected[12] = {0, 52, 105, 157, 209, 262, 314, 367, 419, 471, 524, 576};
  for (int f = 0; f < 12; ++f) EXPECT_EQ(FlagStartPhase(f, 12), expected[f]) << "frame " << f;
  EXPECT_EQ(FlagStartPhase(12, 12), 628);
  EXPECT_EQ(FlagStartPhase(0, 1), 0);
}

TEST(SineTable, StartPhaseOfAFrameCountBelowOneIsZero) {
  EXPECT_EQ(FlagStartPhase(0, 0), 0);
  EXPECT_EQ(FlagStartPhase(3, 0), 0);
  EXPECT_EQ(FlagStartPhase(1, -4), 0);
}

}  // namespace
}  // namespace vesk
