#include "media/key_bindings.hpp"

#include <algorithm>

namespace starvane {

// The defaults are the game's own keys, and the controller's layout that players of the genre
// expect: the left stick and the d-pad fly, A fires, the shoulders turn the turret.
const std::array<GameActionInfo, kGameActionCount> kGameActions = {{
    {GameAction::TurnLeft,
     "turn-left",
     kKeyLeft,
     "turn left",
     {kKeyLeft},
     {kPadKeyLeft, kPadKeyLeftStickLeft}},
    {GameAction::TurnRight,
     "turn-right",
     kKeyRight,
     "turn right",
     {kKeyRight},
     {kPadKeyRight, kPadKeyLeftStickRight}},
    {GameAction::Thrust, "thrust", kKeyUp, "thrust", {kKeyUp}, {kPadKeyUp, kPadKeyLeftStickUp}},
    {GameAction::Brake,
     "brake",
     kKeyDown,
     "brake",
     {kKeyDown},
     {kPadKeyDown, kPadKeyLeftStickDown}},
    {GameAction::Fire, "fire", kKeySpace, "fire the chosen weapon", {kKeySpace}, {kPadKeyA}},
    {GameAction::Weapon1, "weapon-1", kKey1, "choose weapon 1", {kKey1}, {}},
    {GameAction::Weapon2, "weapon-2", kKey2, "choose weapon 2", {kKey2}, {}},
    {GameAction::Weapon3, "weapon-3", kKey3, "choose weapon 3", {kKey3}, {}},
    {GameAction::NextWeapon, "next-weapon", 0, "the next weapon", {}, {kPadKeyY}},
    {GameAction::TurretLeft,
     "turret-left",
     kKeyA,
     "turn the turret left",
     {kKeyA},
     {kPadKeyLeftShoulder}},
    {GameAction::TurretRight,
     "turret-right",
     kKeyD,
     "turn the turret right",
     {kKeyD},
     {kPadKeyRightShoulder}},
    {GameAction::Shield,
     "shield",
     kKeyLeftControl,
     "shield on or off",
     {kKeyLeftControl},
     {kPadKeyX}},
    {GameAction::Shock, "shock", kKeyS, "shock on or off", {kKeyS}, {kPadKeyRightTrigger}},
    {GameAction::Boost, "boost", kKeyB, "boost on or off", {kKeyB}, {kPadKeyLeftStick}},
    {GameAction::Teleport,
     "teleport",
     kKeyT,
     "charge the teleport (hold)",
     {kKeyT},
     {kPadKeyLeftTrigger}},
    {GameAction::Dash, "dash", kKeyReturn, "dash", {kKeyReturn}, {kPadKeyB}},
    {GameAction::Stats, "stats", kKeyC, "the STATS workshop", {kKeyC}, {kPadKeyBack}},
    {GameAction::Pause, "pause", kKeyP, "pause", {kKeyP}, {kPadKeyStart}},
    {GameAction::Controls, "controls", kKeyF1, "these controls", {kKeyF1}, {}},
    {GameAction::Mute, "mute", kKeyM, "sound off or on", {kKeyM}, {}},
    {GameAction::Screenshot, "screenshot", kKeyF12, "screenshot", {kKeyF12}, {}},
}};

const GameActionInfo& InfoOf(GameAction action) {
  const auto index = static_cast<std::size_t>(action);
  return kGameActions[std::min(index, kGameActionCount - 1)];
}

const GameActionInfo* ActionNamed(std::string_view name) {
  const auto found = std::find_if(kGameActions.begin(), kGameActions.end(),
                                  [name](const GameActionInfo& info) { return info.name == name; });
  return found == kGameActions.end() ? nullptr : &*found;
}

bool Bindable(int code) {
  return code > 0 && code < kKeyCount && code != kKeyEscape;
}

namespace {

std::vector<int> DefaultKeys(const GameActionInfo& info) {
  std::vector<int> keys;
  for (const int code : info.keyboard) {
    if (code != 0) keys.push_back(code);
  }
  for (const int code : info.pad) {
    if (code != 0) keys.push_back(code);
  }
  return keys;
}

std::size_t IndexOf(GameAction action) {
  return std::min(static_cast<std::size_t>(action), kGameActionCount - 1);
}

}  // namespace

KeyBindings::KeyBindings() {
  for (std::size_t i = 0; i < kGameActionCount; ++i) keys_[i] = DefaultKeys(kGameActions[i]);
}

const std::vector<int>& KeyBindings::KeysOf(GameAction action) const {
  return keys_[IndexOf(action)];
}

void KeyBindings::Bind(GameAction action, int code) {
  if (!Bindable(code)) return;
  std::vector<int>& keys = keys_[IndexOf(action)];
  const bool pad = IsPadKey(code);
  std::erase_if(keys, [pad](int key) { return IsPadKey(key) == pad; });
  keys.push_back(code);
  std::stable_partition(keys.begin(), keys.end(), [](int key) { return !IsPadKey(key); });
}

void KeyBindings::SetKeys(GameAction action, std::vector<int> codes) {
  std::erase_if(codes, [](int key) { return !Bindable(key); });
  std::stable_partition(codes.begin(), codes.end(), [](int key) { return !IsPadKey(key); });
  keys_[IndexOf(action)] = std::move(codes);
}

void KeyBindings::ResetToDefault(GameAction action) {
  keys_[IndexOf(action)] = DefaultKeys(InfoOf(action));
}

std::vector<GameAction> KeyBindings::ActionsOf(int code) const {
  std::vector<GameAction> actions;
  for (std::size_t i = 0; i < kGameActionCount; ++i) {
    if (std::find(keys_[i].begin(), keys_[i].end(), code) != keys_[i].end()) {
      actions.push_back(kGameActions[i].action);
    }
  }
  return actions;
}

bool KeyBindings::HasConflict(GameAction action) const {
  for (const int code : KeysOf(action)) {
    if (ActionsOf(code).size() > 1) return true;
  }
  return false;
}

std::vector<std::string> KeyBindingLines(const KeyBindings& bindings) {
  std::vector<std::string> lines;
  for (const GameActionInfo& info : kGameActions) {
    std::string line = "keys.";
    line += info.name;
    const std::vector<int>& keys = bindings.KeysOf(info.action);
    if (keys.empty()) line += " none";
    for (const int code : keys) {
      line += ' ';
      line += KeyName(code);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool ReadKeyBindingLine(std::string_view name, std::string_view value, KeyBindings& bindings) {
  constexpr std::string_view kPrefix = "keys.";
  if (!name.starts_with(kPrefix)) return false;
  name.remove_prefix(kPrefix.size());
  const GameActionInfo* info = ActionNamed(name);
  if (info == nullptr) return false;
  std::vector<int> codes;
  if (value != "none") {
    while (!value.empty()) {
      const std::size_t space = value.find(' ');
      const std::string_view word = value.substr(0, space);
      value = space == std::string_view::npos ? std::string_view() : value.substr(space + 1);
      if (word.empty()) continue;
      const auto code = KeyByName(word);
      if (!code || !Bindable(*code)) return false;
      codes.push_back(*code);
    }
  }
  bindings.SetKeys(info->action, std::move(codes));
  return true;
}

}  // namespace starvane
