// The browser build reads keys by their position names (KeyboardEvent.code): each must give the
// code the desktop gives the same key, or a flight key would act elsewhere in the browser.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "media/dom_keys.hpp"
#include "media/keys.hpp"

namespace starvane {
namespace {

TEST(WebKeys, TheGamesKeysSitWhereTheDesktopHasThem) {
  EXPECT_EQ(KeyCodeOfDomCode("Escape"), kKeyEscape);
  EXPECT_EQ(KeyCodeOfDomCode("Digit1"), kKey1);
  EXPECT_EQ(KeyCodeOfDomCode("Digit3"), kKey3);
  EXPECT_EQ(KeyCodeOfDomCode("Backspace"), kKeyBackspace);
  EXPECT_EQ(KeyCodeOfDomCode("KeyT"), kKeyT);
  EXPECT_EQ(KeyCodeOfDomCode("KeyP"), kKeyP);
  EXPECT_EQ(KeyCodeOfDomCode("Enter"), kKeyReturn);
  EXPECT_EQ(KeyCodeOfDomCode("NumpadEnter"), kKeyKeypadEnter);
  EXPECT_EQ(KeyCodeOfDomCode("ControlLeft"), kKeyLeftControl);
  EXPECT_EQ(KeyCodeOfDomCode("KeyA"), kKeyA);
  EXPECT_EQ(KeyCodeOfDomCode("KeyS"), kKeyS);
  EXPECT_EQ(KeyCodeOfDomCode("KeyD"), kKeyD);
  EXPECT_EQ(KeyCodeOfDomCode("KeyC"), kKeyC);
  EXPECT_EQ(KeyCodeOfDomCode("KeyB"), kKeyB);
  EXPECT_EQ(KeyCodeOfDomCode("Space"), kKeySpace);
  EXPECT_EQ(KeyCodeOfDomCode("F12"), kKeyF12);
  EXPECT_EQ(KeyCodeOfDomCode("Home"), kKeyHome);
  EXPECT_EQ(KeyCodeOfDomCode("End"), kKeyEnd);
  EXPECT_EQ(KeyCodeOfDomCode("Delete"), kKeyDelete);
  EXPECT_EQ(KeyCodeOfDomCode("ArrowUp"), kKeyUp);
  EXPECT_EQ(KeyCodeOfDomCode("ArrowDown"), kKeyDown);
  EXPECT_EQ(KeyCodeOfDomCode("ArrowLeft"), kKeyLeft);
  EXPECT_EQ(KeyCodeOfDomCode("ArrowRight"), kKeyRight);
}

// The names agree with the game's own key names where both name a key (the letters, digits and
// function keys), and a name the table lacks, or a near miss, is no key at all.
TEST(WebKeys, LettersDigitsAndFunctionKeysFollowTheGamesNames) {
  std::set<int> codes;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const int code = KeyCodeOfDomCode(std::string("Key") + letter);
    EXPECT_EQ(KeyByName(std::string(1, letter)), code) << letter;
    codes.insert(code);
  }
  for (char digit = '0'; digit <= '9'; ++digit) {
    const int code = KeyCodeOfDomCode(std::string("Digit") + digit);
    EXPECT_EQ(KeyByName(std::string(1, digit)), code) << digit;
    codes.insert(code);
  }
  for (int f = 1; f <= 12; ++f) {
    const std::string name = "F" + std::to_string(f);
    EXPECT_EQ(KeyByName(name), KeyCodeOfDomCode(name)) << name;
    codes.insert(KeyCodeOfDomCode(name));
  }
  EXPECT_EQ(codes.size(), 26u + 10u + 12u);  // no two keys on one code
  EXPECT_EQ(codes.count(0), 0u);
  EXPECT_EQ(KeyCodeOfDomCode(""), 0);
  EXPECT_EQ(KeyCodeOfDomCode("keya"), 0);
  EXPECT_EQ(KeyCodeOfDomCode("KeyA "), 0);
  EXPECT_EQ(KeyCodeOfDomCode("Fn"), 0);
}

// The help page names a key through the browser's name of its position: every code the browser
// has a key for leads back to itself, and a code of no key to no name.
TEST(WebKeys, EveryCodeOfAKeyLeadsBackToItself) {
  int keys = 0;
  for (int code = 0; code < kKeyCount; ++code) {
    const std::string_view name = DomCodeOfKeyCode(code);
    if (name.empty()) continue;
    ++keys;
    EXPECT_EQ(KeyCodeOfDomCode(name), code) << name;
  }
  EXPECT_GT(keys, 100);
  EXPECT_EQ(DomCodeOfKeyCode(kKeyLeftControl), "ControlLeft");
  EXPECT_EQ(DomCodeOfKeyCode(kKeyF1), "F1");
  EXPECT_EQ(DomCodeOfKeyCode(0), "");
  EXPECT_EQ(DomCodeOfKeyCode(255), "");
  EXPECT_EQ(DomCodeOfKeyCode(-1), "");
}

}  // namespace
}  // namespace starvane
