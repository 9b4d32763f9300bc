#pragma once

// Small helpers for reading the command line and input scripts, and for naming their mistakes.

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace starvane {

// The whole text as a decimal integer of the type, or nothing (no sign allowed for unsigned
// types, nothing before or after the digits, no overflow).
template <typename Int>
std::optional<Int> ParseWhole(std::string_view text) {
  Int value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return {};
  return value;
}

// The text in quotes, with control bytes shown as \xNN so that a message stays one clean line.
std::string Quoted(std::string_view text);

}  // namespace starvane
