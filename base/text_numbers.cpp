#include "base/text_numbers.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace starvane {

std::string IntToText(std::int32_t n) {
  return std::to_string(n);
}

std::string FloatToText(float x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  char buffer[64];  // the largest float has 39 digits before the point
  std::snprintf(buffer, sizeof buffer, "%.6f", static_cast<double>(x));
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();  // there is always a "." before the zeros
  if (text.back() == '.') text.pop_back();
  return text;
}

std::int32_t TextToInt(std::string_view text, IntOverflow overflow) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (overflow == IntOverflow::Wrap) {
    std::uint32_t value = 0;
    for (char c : text) {
      const auto digit = static_cast<std::uint32_t>(static_cast<unsigned char>(c)) - '0';
      value = value * 10u + digit;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);  // two's complement, defined since C++20
  }
  // Saturated: held within 2^40 either way. A number beyond 32 bits never comes back (a further
  // byte, even one below "0", takes it further out), so holding it there loses nothing.
  constexpr std::int64_t kFar = std::int64_t{1} << 40;
  std::int64_t value = 0;
  for (char c : text) {
    const int digit = static_cast<unsigned char>(c) - '0';
    value = std::clamp<std::int64_t>(value * 10 + digit, -kFar, kFar);
  }
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(negative ? -value : value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()));
}

float TextToFloat(std::string_view text) {
  auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  // Copy only the accepted decimal form, so the library parser never sees the hexadecimal,
  // "inf" or "nan" forms it would otherwise accept.
  std::string number;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
  bool digits = false;
  while (i < text.size() && is_digit(text[i])) number += text[i++], digits = true;
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && is_digit(text[i])) number += text[i++], digits = true;
  }
  if (!digits) return 0.0f;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
    if (j < text.size() && is_digit(text[j])) {
      number.append(text.substr(i, j - i));
      while (j < text.size() && is_digit(text[j])) number += text[j++];
    }
  }
  return std::strtof(number.c_str(), nullptr);
}

}  // namespace starvane
