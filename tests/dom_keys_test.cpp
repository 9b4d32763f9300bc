// The browser build reads keys by their position names (KeyboardEvent.code): each must give the
// code the desktop gives the same key, or a flight key would act elsewhere in the browser.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>

#include "media/dom_keys.hpp"
#include "media/keys.hpp"
#include "media/sdl/sdl_keys.hpp"

namespace starvane {
namespace {

// The desktop (SDL's scancodes) and the browser name the same positions: a code has a name in
// the browser exactly when it has a scancode, so no key plays on one and not on the other.
TEST(DomKeys, TheBrowserKnowsTheKeysTheDesktopKnows) {
  for (int code = 0; code < kKeyCount; ++code) {
    EXPECT_EQ(DomCodeOfKeyCode(code).empty(), ScancodeOfKeyCode(code) == SDL_SCANCODE_UNKNOWN)
        << code;
  }
}

// The game's name of a key from the browser's: "KeyA", "Digit1", "ArrowUp", "ControlLeft" and
// "Numpad7" are the game's "A", "1", "Up", "LeftControl" and "Keypad7"; a few keys have other
// words.
std::string GameNameOfDomName(std::string_view name) {
  for (const std::string_view prefix : {"Key", "Digit", "Arrow", "Audio"}) {
    if (name.starts_with(prefix) && name.size() > prefix.size()) name.remove_prefix(prefix.size());
  }
  std::string stem(name);
  if (stem.starts_with("Numpad")) stem.replace(0, 6, "Keypad");
  std::string side;
  for (const std::string_view end : {"Left", "Right"}) {
    if (stem.size() > end.size() && stem.ends_with(end)) {
      side = end;
      stem.resize(stem.size() - end.size());
    }
  }
  static const std::map<std::string, std::string> kWords = {{"Equal", "Equals"},
                                                            {"Enter", "Return"},
                                                            {"Quote", "Apostrophe"},
                                                            {"Backquote", "Grave"},
                                                            {"KeypadSubtract", "KeypadMinus"},
                                                            {"KeypadAdd", "KeypadPlus"},
                                                            {"KeypadDecimal", "KeypadPeriod"},
                                                            {"KeypadEqual", "KeypadEquals"},
                                                            {"IntlBackslash", "NonUSBackslash"},
                                                            {"IntlRo", "Ro"},
                                                            {"IntlYen", "Yen"},
                                                            {"KanaMode", "Kana"},
                                                            {"NonConvert", "NoConvert"},
                                                            {"VolumeMute", "Mute"},
                                                            {"ContextMenu", "Menu"},
                                                            {"Meta", "Windows"}};
  const auto word = kWords.find(stem);
  return side + (word == kWords.end() ? stem : word->second);
}

// Every key of the browser's table sits on the code the game's own name of it gives, so a key
// entered on a wrong line shows; a name the table lacks, or a near miss, is no key at all.
TEST(DomKeys, EveryKeyHasTheCodeOfTheGamesNameForIt) {
  int keys = 0;
  for (int code = 0; code < kKeyCount; ++code) {
    const std::string_view name = DomCodeOfKeyCode(code);
    if (name.empty()) continue;
    ++keys;
    EXPECT_EQ(KeyByName(GameNameOfDomName(name)), code) << name;
  }
  EXPECT_GT(keys, 100);
  EXPECT_EQ(KeyCodeOfDomCode(""), 0);
  EXPECT_EQ(KeyCodeOfDomCode("keya"), 0);
  EXPECT_EQ(KeyCodeOfDomCode("KeyA "), 0);
  EXPECT_EQ(KeyCodeOfDomCode("Fn"), 0);
}

// The help page names a key through the browser's name of its position: every code the browser
// has a key for leads back to itself, and a code of no key to no name.
TEST(DomKeys, EveryCodeOfAKeyLeadsBackToItself) {
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
