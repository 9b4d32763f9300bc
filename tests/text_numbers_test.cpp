#include "base/text_numbers.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "base/random.hpp"
#include "base/rounding.hpp"

namespace starvane {
namespace {

TEST(Rounding, NearestWithHalvesToEven) {
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(3.5), 4);
  EXPECT_EQ(RoundToInt(-0.5), 0);
  EXPECT_EQ(RoundToInt(-1.5), -2);
  EXPECT_EQ(RoundToInt(-2.5), -2);
  EXPECT_EQ(RoundToInt(2.4999999), 2);
  EXPECT_EQ(RoundToInt(-2.5000001), -3);
  EXPECT_EQ(RoundToInt(-1e-30), 0);
  EXPECT_EQ(RoundToInt(0.49999999999999994), 0);
}

TEST(Rounding, IsDefinedForEveryInput) {
  EXPECT_EQ(RoundToInt(std::nan("")), 0);
  EXPECT_EQ(RoundToInt(1e300), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToInt(-std::numeric_limits<double>::infinity()),
            std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(RoundToInt(2147483647.5), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToInt(-2147483648.4), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(Low16(70000), 4464);
  EXPECT_EQ(Low16(-1), -1);
  EXPECT_EQ(Low16(32768), -32768);
}

TEST(FloatToText, SixDecimalsWithoutTrailingZeros) {
  EXPECT_EQ(FloatToText(2.5f), "2.5");
  EXPECT_EQ(FloatToText(3.0f), "3");
  EXPECT_EQ(FloatToText(0.1f), "0.1");
  EXPECT_EQ(FloatToText(100.0f), "100");
  EXPECT_EQ(FloatToText(-0.5f), "-0.5");
  EXPECT_EQ(FloatToText(0.005f), "0.005");
  EXPECT_EQ(FloatToText(-0.2f), "-0.2");
  EXPECT_EQ(FloatToText(0.0f), "0");
  EXPECT_EQ(FloatToText(0.0000004f), "0");  // beyond six decimals is lost
  EXPECT_EQ(FloatToText(1e20f), "100000002004087734272");
  EXPECT_EQ(FloatToText(std::numeric_limits<float>::quiet_NaN()), "nan");
}

TEST(TextToInt, TakesEveryByteAsADigitAndWraps) {
  EXPECT_EQ(TextToInt("-12"), -12);
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt("-"), 0);
  EXPECT_EQ(TextToInt("70000"), 70000);
  EXPECT_EQ(TextToInt("1a"), 10 + ('a' - '0'));
  EXPECT_EQ(TextToInt(" 1"), (' ' - '0') * 10 + 1);
  EXPECT_EQ(TextToInt("2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(TextToInt("99999999999999999999"), 1661992959);  // wrapped, never undefined
  EXPECT_EQ(TextToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

// Saturated, a number keeps its bytes-as-digits reading up to the 32-bit limits and stops there,
// however far beyond it goes and whatever bytes follow.
TEST(TextToInt, SaturatesAtThe32BitLimitsWhenAsked) {
  constexpr auto kSaturate = IntOverflow::Saturate;
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(TextToInt("1a", kSaturate), 10 + ('a' - '0'));
  EXPECT_EQ(TextToInt("2147483647", kSaturate), kMax);
  EXPECT_EQ(TextToInt("2147483648", kSaturate), kMax);
  EXPECT_EQ(TextToInt("-2147483648", kSaturate), kMin);
  EXPECT_EQ(TextToInt("-2147483649", kSaturate), kMin);
  EXPECT_EQ(TextToInt("99999999999999999999", kSaturate), kMax);
  EXPECT_EQ(TextToInt("9999999999!!!!!!!!!!", kSaturate), kMax);  // "!" is a digit of -15
  EXPECT_EQ(TextToInt("-21474836470000000000000", kSaturate), kMin);
}

TEST(TextToFloat, ReadsTheLeadingNumberOnly) {
  EXPECT_EQ(TextToFloat("2.5"), 2.5f);
  EXPECT_EQ(TextToFloat("  -0.2xyz"), -0.2f);
  EXPECT_EQ(TextToFloat("+3"), 3.0f);
  EXPECT_EQ(TextToFloat("1e3"), 1000.0f);
  EXPECT_EQ(TextToFloat("1e"), 1.0f);
  EXPECT_EQ(TextToFloat("1e+"), 1.0f);
  EXPECT_EQ(TextToFloat(".5"), 0.5f);
  EXPECT_EQ(TextToFloat("7."), 7.0f);
  EXPECT_EQ(TextToFloat(""), 0.0f);
  EXPECT_EQ(TextToFloat("-"), 0.0f);
  EXPECT_EQ(TextToFloat("."), 0.0f);
  EXPECT_EQ(TextToFloat("inf"), 0.0f);
  EXPECT_EQ(TextToFloat("nan"), 0.0f);
  EXPECT_EQ(TextToFloat("0x10"), 0.0f);
  EXPECT_EQ(TextToFloat("100\r"), 100.0f);
  EXPECT_TRUE(std::isinf(TextToFloat("1e999")));
}

TEST(TextToFloat, ReadsBackWhatFloatToTextWrote) {
  for (float x : {100.0f, 0.005f, -0.2f, 1.5f, 300.0f, 12345.678f}) {
    EXPECT_NEAR(TextToFloat(FloatToText(x)), x, 1e-6f * std::fabs(x) + 5e-7f) << x;
  }
}

TEST(Random, StaysInRangeAndReachesBothEnds) {
  RandomGenerator generator;
  generator.Seed(11);
  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const int value = Random(generator, 4);
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 4);
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(Random(generator, 0), 0);
  EXPECT_EQ(Random(generator, -3), 0);
  for (int i = 0; i < 1000; ++i) ASSERT_LE(Random(generator, 2147483647), 2147483647);
}

TEST(Random, IsTheTopOfTheProductOfA64BitDrawAndMaxPlusOne) {
  RandomGenerator a;
  RandomGenerator b;
  a.Seed(5);
  b.Seed(5);
  // max + 1 a power of two, so the long double product below is exact.
  for (int max : {1, 255, 65535, 2147483647}) {
    const std::uint64_t draw = b.Draw64();
    const long double expected =
        std::floor(static_cast<long double>(draw) * (static_cast<long double>(max) + 1) /
                   18446744073709551616.0L);
    EXPECT_EQ(Random(a, max), static_cast<std::int32_t>(expected)) << max;
  }
}

}  // namespace
}  // namespace starvane
