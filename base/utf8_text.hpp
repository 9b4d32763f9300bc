#pragma once
// Text inside the game is UTF-8: ship names as typed, as listed and as written to ships.txt.
// A byte that starts no valid UTF-8 sequence (a stray byte of some older single-byte text)
// counts as one character of its own, so every byte of any text belongs to exactly one
// character and nothing is ever lost or read past the end.

#include <cstddef>
#include <string>
#include <string_view>

namespace starvane {

// One character of a text: its code point, and how many bytes it takes. A byte that starts
// no valid sequence is a character of one byte that is not valid.
struct Utf8Character {
  char32_t code = 0;
  std::size_t length = 1;
  bool valid = false;
};

// The character that starts at byte `at` (which must lie inside the text). Only the shortest
// form is valid: overlong forms, surrogates and code points past U+10FFFF are not.
Utf8Character DecodeUtf8(std::string_view text, std::size_t at);

// The byte position of the next character after the one at `at`, and of the one before `at`
// (0 stays 0). Both keep to the characters DecodeUtf8 reads from the start of the text.
std::size_t NextCharacter(std::string_view text, std::size_t at);
std::size_t PreviousCharacter(std::string_view text, std::size_t at);

std::size_t CharacterCount(std::string_view text);
// The first `count` characters of the text (all of it when it has fewer).
std::string_view FirstCharacters(std::string_view text, std::size_t count);

bool IsUtf8(std::string_view text);
void AppendUtf8(std::string& text, char32_t code);
// Single-byte Windows-1252 text (what older ship lists hold) as UTF-8. The five bytes that
// code page leaves undefined keep their own code points, as Windows itself reads them.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace starvane
