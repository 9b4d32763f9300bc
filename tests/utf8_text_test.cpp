// UTF-8 text as the game reads it: whole characters, a stray byte a character of its own, and
// the single-byte text of older ship lists turned into UTF-8.

#include "base/utf8_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace starvane {
namespace {

// The byte positions where the characters of the text start, walking forwards and backwards.
std::vector<std::size_t> Forwards(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at < text.size(); at = NextCharacter(text, at)) starts.push_back(at);
  return starts;
}
std::vector<std::size_t> Backwards(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t at = text.size(); at > 0;) {
    at = PreviousCharacter(text, at);
    starts.insert(starts.begin(), at);
  }
  return starts;
}

TEST(Utf8Text, OnlyShortestFormsAreCharactersAndEveryOtherByteStandsAlone) {
  EXPECT_EQ(DecodeUtf8("\xC3\xB6", 0).code, U'\u00F6');
  EXPECT_EQ(DecodeUtf8("\xE2\x82\xAC", 0).code, U'\u20AC');
  EXPECT_EQ(DecodeUtf8("\xF0\x9F\x9A\x80", 0).code, U'\U0001F680');
  EXPECT_EQ(DecodeUtf8("\xF0\x9F\x9A\x80", 0).length, 4u);
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xF5\x80\x80\x80", "\xB6", "\xC3", "\xE2\x82", "\xFF"}) {
    const Utf8Character character = DecodeUtf8(bad, 0);
    EXPECT_FALSE(character.valid) << bad;
    EXPECT_EQ(character.length, 1u) << bad;
  }
  EXPECT_TRUE(IsUtf8("N\xC3\xB6va \xF0\x9F\x9A\x80"));
  EXPECT_FALSE(IsUtf8("N\xF6va"));
  EXPECT_EQ(CharacterCount("N\xC3\xB6va\xFF"), 5u);
  EXPECT_EQ(FirstCharacters("N\xC3\xB6va", 2), "N\xC3\xB6");
}

TEST(Utf8Text, StepsBackAndForthMeetAtTheSameCharacters) {
  for (std::string_view text :
       {"N\xC3\xB6va", "\xE2\xC3\xB6", "\xB6\xB6\xC3", "\xF0\x9F\x9A\x80\x80", "\xE2\x82\xAC\xAC",
        "a\xF0\x9F\x9A", "\xC3\xB6\xB6"}) {
    EXPECT_EQ(Forwards(text), Backwards(text)) << text;
  }
}

TEST(Utf8Text, Windows1252BecomesUtf8) {
  EXPECT_EQ(Windows1252ToUtf8("N\xF6va \x80\x81 \x9F"),
            "N\xC3\xB6va \xE2\x82\xAC\xC2\x81 \xC5\xB8");
  EXPECT_EQ(Windows1252ToUtf8("plain"), "plain");
}

}  // namespace
}  // namespace starvane
