#pragma once
// Conversions between numbers and text, and the two float helpers the game calls.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace starvane {

// Decimal text with "-" for negatives.
std::string IntToText(std::int32_t n);

// Six decimals, then trailing zeros and a trailing "." removed: 2.5 -> "2.5", 3.0 -> "3".
// Values that are not numbers are written "nan", "inf" or "-inf".
std::string FloatToText(float x);

// What TextToInt makes of a number beyond 32 bits.
enum class IntOverflow {
  Wrap,      // modulo 2^32, as the game's files have always been read
  Saturate,  // the nearest 32-bit value, for what must never turn round (money)
};

// An optional leading "-", then every further byte is taken as a digit (its code minus the code
// of "0"), unchecked, as the game's files have always been read: "12a" is 12 * 10 + 49.
// Never overflows: beyond 32 bits the number wraps or saturates as asked. "" gives 0.
std::int32_t TextToInt(std::string_view text, IntOverflow overflow = IntOverflow::Wrap);

// The leading number of the text: leading white space skipped, an optional sign, digits with an
// optional decimal point, an optional exponent. Parsing stops at the first byte that cannot
// continue the number; no number at all gives 0. Too large a value gives an infinity.
float TextToFloat(std::string_view text);

// The whole text as a decimal integer of the type, or nothing (no sign allowed for unsigned
// types, nothing before or after the digits, no overflow). For the command line and input
// scripts, which must refuse what TextToInt would take.
template <typename Int>
std::optional<Int> ParseWhole(std::string_view text) {
  Int value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return {};
  return value;
}

}  // namespace starvane
