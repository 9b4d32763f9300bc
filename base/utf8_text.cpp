#include "base/utf8_text.hpp"

#include <algorithm>
#include <array>

namespace starvane {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The code points of the bytes 0x80..0x9F in Windows-1252; the rest are those of ISO 8859-1.
constexpr std::array<char32_t, 32> kWindows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

Utf8Character DecodeUtf8(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length = 0;
  char32_t code = 0;
  char32_t least = 0;  // the smallest code point this length may carry
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    least = 0x10000;
  } else {
    return {lead, 1, false};
  }
  if (text.size() - at < length) return {lead, 1, false};
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if (!IsContinuation(byte)) return {lead, 1, false};
    code = code << 6 | (byte & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return {lead, 1, false};
  }
  return {code, length, true};
}

std::size_t NextCharacter(std::string_view text, std::size_t at) {
  if (at >= text.size()) return text.size();
  return at + DecodeUtf8(text, at).length;
}

std::size_t PreviousCharacter(std::string_view text, std::size_t at) {
  at = std::min(at, text.size());
  // A valid sequence starts with a lead byte, which no other sequence can hold: so a valid
  // sequence that ends at `at` is the character before it; otherwise the byte before is one.
  for (std::size_t back = 2; back <= 4 && back <= at; ++back) {
    const Utf8Character character = DecodeUtf8(text, at - back);
    if (character.valid && character.length == back) return at - back;
  }
  return at == 0 ? 0 : at - 1;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); at = NextCharacter(text, at)) ++count;
  return count;
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t at = 0;
  for (; count > 0 && at < text.size(); --count) at = NextCharacter(text, at);
  return text.substr(0, at);
}

bool IsUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character character = DecodeUtf8(text, at);
    if (!character.valid) return false;
    at += character.length;
  }
  return true;
}

void AppendUtf8(std::string& text, char32_t code) {
  const auto byte = [&text](char32_t value) { text += static_cast<char>(value & 0xFF); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | code >> 6);
    byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | code >> 12);
    byte(0x80 | (code >> 6 & 0x3F));
    byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | (code >> 18 & 0x07));
    byte(0x80 | (code >> 12 & 0x3F));
    byte(0x80 | (code >> 6 & 0x3F));
    byte(0x80 | (code & 0x3F));
  }
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string converted;
  converted.reserve(text.size() * 2);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    AppendUtf8(converted, byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
  }
  return converted;
}

}  // namespace starvane
