#include "replay/base64url.hpp"

#include <array>
#include <cstdint>

namespace starvane {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// Each byte's 6-bit value, or -1 for a byte outside the alphabet.
constexpr std::array<std::int8_t, 256> ValuesOfCharacters() {
  std::array<std::int8_t, 256> values{};
  values.fill(-1);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  }
  return values;
}
constexpr auto kValues = ValuesOfCharacters();

}  // namespace

std::string EncodeBase64Url(std::string_view bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::uint32_t bits = 0;
  int held = 0;  // bits waiting in `bits`
  for (const char c : bytes) {
    bits = (bits << 8) | static_cast<unsigned char>(c);
    held += 8;
    while (held >= 6) {
      held -= 6;
      text += kAlphabet[(bits >> held) & 0x3F];
    }
  }
  if (held > 0) text += kAlphabet[(bits << (6 - held)) & 0x3F];
  return text;
}

std::optional<std::string> DecodeBase64Url(std::string_view text, std::string& why) {
  if (text.size() % 4 == 1) {
    why = "is cut short (a length no base64url text has)";
    return std::nullopt;
  }
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3 + 2);
  std::uint32_t bits = 0;
  int held = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::int8_t value = kValues[static_cast<unsigned char>(text[i])];
    if (value < 0) {
      why = "is not base64url: character " + std::to_string(i + 1) +
            " is no letter, digit, '-' or '_'";
      return std::nullopt;
    }
    bits = ((bits << 6) | static_cast<std::uint32_t>(value)) & 0xFFFFFF;
    held += 6;
    if (held >= 8) {
      held -= 8;
      bytes += static_cast<char>((bits >> held) & 0xFF);
    }
  }
  return bytes;
}

}  // namespace starvane
