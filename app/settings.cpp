#include "app/settings.hpp"

#include <algorithm>
#include <array>
#include <cstddef>

#include "base/text_numbers.hpp"
#include "base/text_quoting.hpp"
#include "base/utf8_text.hpp"

namespace starvane {
namespace {

constexpr std::string_view kVolume = "volume";
constexpr std::string_view kMute = "mute";
constexpr std::string_view kScale = "scale";
constexpr std::string_view kScreen = "screen";
constexpr std::string_view kKeysPrefix = "keys.";

// A line as a name and its value: the name up to the first space, the value after it without
// the spaces around it.
struct SettingLine {
  std::string_view name;
  std::string_view value;
};

SettingLine SplitSettingLine(std::string_view line) {
  const std::size_t space = line.find(' ');
  SettingLine split{line.substr(0, space), {}};
  if (space == std::string_view::npos) return split;
  std::string_view value = line.substr(space + 1);
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  split.value = value;
  return split;
}

// The action a "keys.<name>" line binds, if the name is one of this version's actions.
const GameActionInfo* ActionOfSettingName(std::string_view name) {
  if (!name.starts_with(kKeysPrefix)) return nullptr;
  name.remove_prefix(kKeysPrefix.size());
  return ActionNamed(name);
}

bool IsKnownSetting(std::string_view name) {
  return name == kVolume || name == kMute || name == kScale || name == kScreen ||
         ActionOfSettingName(name) != nullptr;
}

// Takes the value of a known setting into the choices; why it cannot when it cannot.
std::optional<std::string> TakeSetting(const SettingLine& line, PlayerChoices& choices) {
  const auto either = [&](std::string_view yes, std::string_view no,
                          bool& choice) -> std::optional<std::string> {
    if (line.value != yes && line.value != no) {
      return "the " + std::string(line.name) + " is " + std::string(yes) + " or " + std::string(no);
    }
    choice = line.value == yes;
    return std::nullopt;
  };
  if (line.name == kVolume) {
    const auto volume = ParseWhole<int>(line.value);
    if (!volume || *volume < 0 || *volume > 100) {
      return std::string("the volume is a whole number from 0 to 100");
    }
    choices.volume = *volume;
    return std::nullopt;
  }
  if (line.name == kMute) return either("yes", "no", choices.mute);
  if (line.name == kScreen) return either("window", "full", choices.screen.windowed);
  if (line.name == kScale) {
    bool integer = false;
    if (auto why = either("integer", "sharp", integer)) return why;
    choices.screen.scale = integer ? ScaleMode::Integer : ScaleMode::Sharp;
    return std::nullopt;
  }
  if (!ReadKeyBindingLine(line.name, line.value, choices.keys)) {
    return std::string("a key name this game does not know");
  }
  return std::nullopt;
}

// The line of a known setting with the value chosen now.
std::string SettingText(std::string_view name, const PlayerChoices& choices) {
  std::string text(name);
  text += ' ';
  if (name == kVolume) return text + std::to_string(choices.volume);
  if (name == kMute) return text + (choices.mute ? "yes" : "no");
  if (name == kScale)
    return text + (choices.screen.scale == ScaleMode::Integer ? "integer" : "sharp");
  if (name == kScreen) return text + (choices.screen.windowed ? "window" : "full");
  const GameActionInfo* info = ActionOfSettingName(name);
  return KeyBindingLines(choices.keys)[static_cast<std::size_t>(info->action)];
}

}  // namespace

SettingsFile ParseSettings(std::string_view bytes, std::string* damage) {
  SettingsFile file;
  std::size_t start = 0;
  for (int number = 1; start < bytes.size(); ++number) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    std::string_view line = bytes.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    const SettingLine split = SplitSettingLine(line);
    std::optional<std::string> why;
    if (!IsUtf8(line)) {
      why = "the line is not UTF-8 text";
    } else if (split.name.empty() && line.find_first_not_of(' ') != std::string_view::npos) {
      why = "the line has no name";
    } else if (IsKnownSetting(split.name)) {
      why = TakeSetting(split, file.choices);
    }
    if (why) {
      if (damage != nullptr) {
        *damage = "line " + std::to_string(number) + ": " +
                  Quoted(IsUtf8(line) ? line : Windows1252ToUtf8(line)) + ": " + *why;
      }
      file.unread = bytes.substr(start);
      return file;
    }
    file.lines.emplace_back(line);
    start = end + 1;
  }
  return file;
}

std::string SettingsText(const SettingsFile& file) {
  std::string text;
  std::vector<std::string_view> written;
  for (const std::string& line : file.lines) {
    const std::string_view name = SplitSettingLine(line).name;
    if (IsKnownSetting(name)) {
      text += SettingText(name, file.choices);
      written.push_back(name);
    } else {
      text += line;
    }
    text += '\n';
  }
  std::vector<std::string> every = {std::string(kVolume), std::string(kMute), std::string(kScale),
                                    std::string(kScreen)};
  for (const GameActionInfo& info : kGameActions)
    every.push_back(std::string(kKeysPrefix) + std::string(info.name));
  for (const std::string& name : every) {
    if (std::find(written.begin(), written.end(), name) == written.end()) {
      text += SettingText(name, file.choices) + '\n';
    }
  }
  return text + file.unread;
}

PlayerChoices ChoicesForTheRun(const PlayerChoices& saved, const Options& options) {
  PlayerChoices run = saved;
  if (options.window) run.screen.windowed = true;
  if (options.scale_given) run.screen.scale = options.scale;
  if (options.volume_given) run.volume = options.volume;
  if (options.mute) run.mute = true;
  return run;
}

}  // namespace starvane
