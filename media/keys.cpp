#include "media/keys.hpp"

#include <charconv>
#include <string>

namespace starvane {
namespace {

struct NamedKey {
  int code;
  std::string_view name;
};

constexpr NamedKey kNamedKeys[] = {
    {1, "Escape"},
    {2, "1"},
    {3, "2"},
    {4, "3"},
    {5, "4"},
    {6, "5"},
    {7, "6"},
    {8, "7"},
    {9, "8"},
    {10, "9"},
    {11, "0"},
    {12, "Minus"},
    {13, "Equals"},
    {14, "Backspace"},
    {15, "Tab"},
    {16, "Q"},
    {17, "W"},
    {18, "E"},
    {19, "R"},
    {20, "T"},
    {21, "Y"},
    {22, "U"},
    {23, "I"},
    {24, "O"},
    {25, "P"},
    {26, "LeftBracket"},
    {27, "RightBracket"},
    {28, "Return"},
    {29, "LeftControl"},
    {30, "A"},
    {31, "S"},
    {32, "D"},
    {33, "F"},
    {34, "G"},
    {35, "H"},
    {36, "J"},
    {37, "K"},
    {38, "L"},
    {39, "Semicolon"},
    {40, "Apostrophe"},
    {41, "Grave"},
    {42, "LeftShift"},
    {43, "Backslash"},
    {44, "Z"},
    {45, "X"},
    {46, "C"},
    {47, "V"},
    {48, "B"},
    {49, "N"},
    {50, "M"},
    {51, "Comma"},
    {52, "Period"},
    {53, "Slash"},
    {54, "RightShift"},
    {55, "KeypadMultiply"},
    {56, "LeftAlt"},
    {57, "Space"},
    {58, "CapsLock"},
    {59, "F1"},
    {60, "F2"},
    {61, "F3"},
    {62, "F4"},
    {63, "F5"},
    {64, "F6"},
    {65, "F7"},
    {66, "F8"},
    {67, "F9"},
    {68, "F10"},
    {69, "NumLock"},
    {70, "ScrollLock"},
    {71, "Keypad7"},
    {72, "Keypad8"},
    {73, "Keypad9"},
    {74, "KeypadMinus"},
    {75, "Keypad4"},
    {76, "Keypad5"},
    {77, "Keypad6"},
    {78, "KeypadPlus"},
    {79, "Keypad1"},
    {80, "Keypad2"},
    {81, "Keypad3"},
    {82, "Keypad0"},
    {83, "KeypadPeriod"},
    {86, "NonUSBackslash"},
    {87, "F11"},
    {88, "F12"},
    {100, "F13"},
    {101, "F14"},
    {102, "F15"},
    {112, "Kana"},
    {115, "Ro"},
    {121, "Convert"},
    {123, "NoConvert"},
    {125, "Yen"},
    {126, "KeypadComma"},
    {141, "KeypadEquals"},
    {156, "KeypadEnter"},
    {157, "RightControl"},
    {160, "Mute"},
    {174, "VolumeDown"},
    {176, "VolumeUp"},
    {181, "KeypadDivide"},
    {183, "PrintScreen"},
    {184, "RightAlt"},
    {197, "Pause"},
    {199, "Home"},
    {200, "Up"},
    {201, "PageUp"},
    {203, "Left"},
    {205, "Right"},
    {207, "End"},
    {208, "Down"},
    {209, "PageDown"},
    {210, "Insert"},
    {211, "Delete"},
    {219, "LeftWindows"},
    {220, "RightWindows"},
    {221, "Menu"},
    {222, "Power"},
    {223, "Sleep"},
    // A game controller's buttons, sticks and triggers (media/key_bindings.hpp).
    {224, "PadA"},
    {225, "PadB"},
    {226, "PadX"},
    {227, "PadY"},
    {228, "PadBack"},
    {229, "PadGuide"},
    {230, "PadStart"},
    {231, "PadLeftStick"},
    {232, "PadRightStick"},
    {233, "PadLeftShoulder"},
    {234, "PadRightShoulder"},
    {235, "PadUp"},
    {236, "PadDown"},
    {237, "PadLeft"},
    {238, "PadRight"},
    {239, "PadLeftStickLeft"},
    {240, "PadLeftStickRight"},
    {241, "PadLeftStickUp"},
    {242, "PadLeftStickDown"},
    {243, "PadRightStickLeft"},
    {244, "PadRightStickRight"},
    {245, "PadRightStickUp"},
    {246, "PadRightStickDown"},
    {247, "PadLeftTrigger"},
    {248, "PadRightTrigger"},
};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Decimal texts of the codes without a name, built once.
const std::array<std::string, kKeyCount>& CodeTexts() {
  static const std::array<std::string, kKeyCount> texts = [] {
    std::array<std::string, kKeyCount> t;
    for (int i = 0; i < kKeyCount; ++i) t[static_cast<std::size_t>(i)] = std::to_string(i);
    return t;
  }();
  return texts;
}

}  // namespace

std::optional<int> KeyByName(std::string_view name) {
  for (const NamedKey& key : kNamedKeys) {
    if (SameLetters(name, key.name)) return key.code;
  }
  int code = -1;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), code);
  if (name.empty() || error != std::errc{} || end != name.data() + name.size()) return {};
  if (code < 0 || code >= kKeyCount) return {};
  return code;
}

std::string_view KeyName(int code) {
  for (const NamedKey& key : kNamedKeys) {
    if (key.code == code) return key.name;
  }
  if (code < 0 || code >= kKeyCount) return "?";
  if (code == 0) return "00";  // "0" names the 0 key (code 11)
  return CodeTexts()[static_cast<std::size_t>(code)];
}

std::string UsKeyLabel(int code) {
  std::string label;
  for (const char c : KeyName(code)) {
    // A capital after a small letter starts a word: "LeftControl" reads "Left Control".
    if (c >= 'A' && c <= 'Z' && !label.empty() && label.back() >= 'a' && label.back() <= 'z') {
      label += ' ';
    }
    label += c;
  }
  return label;
}

KeyEvents MatchKeyEvents(KeyEvents events, const KeyStates& before, const KeyStates& after) {
  KeyStates state = before;
  KeyEvents matched;
  matched.reserve(events.size());
  for (KeyEvent& event : events) {
    if (event.kind == KeyEvent::Kind::Text) {
      if (!event.text.empty()) matched.push_back(std::move(event));
      continue;
    }
    if (event.key < 0 || event.key >= kKeyCount) continue;
    std::uint8_t& down = state[static_cast<std::size_t>(event.key)];
    if (event.kind == KeyEvent::Kind::Up && down == 0) continue;
    down = event.kind == KeyEvent::Kind::Down ? 1 : 0;
    matched.push_back(std::move(event));
  }
  for (const bool pressed : {true, false}) {
    for (int key = 0; key < kKeyCount; ++key) {
      const auto k = static_cast<std::size_t>(key);
      if ((after[k] != 0) == pressed && (state[k] != 0) != pressed) {
        matched.push_back({pressed ? KeyEvent::Kind::Down : KeyEvent::Kind::Up, key});
      }
    }
  }
  return matched;
}

}  // namespace starvane
