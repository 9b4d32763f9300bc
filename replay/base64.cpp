#include "replay/base64.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace starvane {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The six bits a character stands for; -1 for a character outside the alphabet.
int SixBits(char c) {
  const std::size_t at = kAlphabet.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
    if (left > 1)
      group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
    text += kAlphabet[(group >> 18) & 63];
    text += kAlphabet[(group >> 12) & 63];
    text += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
    text += left > 2 ? kAlphabet[group & 63] : '=';
  }
  return text;
}

std::optional<std::string> DecodeBase64(std::string_view text, std::size_t most_bytes) {
  if (text.size() % 4 != 0 || text.size() / 4 > most_bytes / 3 + 1) return std::nullopt;
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    // Padding: '=' only at the end, as the fourth or the third and fourth characters.
    const std::size_t padding = !last ? 0 : text[i + 3] != '=' ? 0 : text[i + 2] == '=' ? 2 : 1;
    std::array<int, 4> bits{};
    for (std::size_t k = 0; k < 4 - padding; ++k) {
      bits[k] = SixBits(text[i + k]);
      if (bits[k] < 0) return std::nullopt;
    }
    const auto group =
        static_cast<std::uint32_t>(bits[0] << 18 | bits[1] << 12 | bits[2] << 6 | bits[3]);
    // The bits past the last byte are zero in a canonical text.
    if ((padding == 1 && (group & 0xFF) != 0) || (padding == 2 && (group & 0xFFFF) != 0)) {
      return std::nullopt;
    }
    bytes += static_cast<char>(group >> 16);
    if (padding < 2) bytes += static_cast<char>((group >> 8) & 0xFF);
    if (padding < 1) bytes += static_cast<char>(group & 0xFF);
  }
  if (bytes.size() > most_bytes) return std::nullopt;
  return bytes;
}

std::string EncodeBase64Url(std::string_view bytes) {
  std::string text = EncodeBase64(bytes);
  while (!text.empty() && text.back() == '=') text.pop_back();
  for (char& c : text) c = c == '+' ? '-' : c == '/' ? '_' : c;
  return text;
}

std::optional<std::string> DecodeBase64Url(std::string_view text, std::string& why) {
  if (text.size() % 4 == 1) {
    why = "is cut short (a length no base64url text has)";
    return std::nullopt;
  }
  // The standard form of the same text, its padding restored.
  std::string standard(text);
  for (std::size_t i = 0; i < standard.size(); ++i) {
    char& c = standard[i];
    if (c == '+' || c == '/' || (SixBits(c) < 0 && c != '-' && c != '_')) {
      why = "is not base64url: character " + std::to_string(i + 1) +
            " is no letter, digit, '-' or '_'";
      return std::nullopt;
    }
    c = c == '-' ? '+' : c == '_' ? '/' : c;
  }
  standard.append((4 - standard.size() % 4) % 4, '=');
  auto bytes = DecodeBase64(standard, standard.size());
  if (!bytes) why = "is not base64url: its last character has bits past the last byte";
  return bytes;
}

}  // namespace starvane
