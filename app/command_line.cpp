#include "app/command_line.hpp"

#include <algorithm>

#include "base/text_quoting.hpp"

namespace starvane {
namespace {

const CommandLineOption* FindOption(std::string_view name) {
  for (const CommandLineOption& option : CommandLineOptions()) {
    if (name == option.name || (!option.alias.empty() && name == option.alias)) return &option;
  }
  return nullptr;
}

// The option's lines in --help: its names and argument, then its help lines, each beginning at
// the same column.
std::string HelpLines(const CommandLineOption& option) {
  constexpr std::size_t kHelpColumn = 23;
  std::string lines = "  " + std::string(option.name);
  if (!option.alias.empty()) lines += ", " + std::string(option.alias);
  if (!option.argument.empty()) lines += " " + std::string(option.argument);
  lines.resize(std::max(kHelpColumn, lines.size() + 1), ' ');
  for (const char c : option.help) {
    lines += c;
    if (c == '\n') lines.append(kHelpColumn, ' ');
  }
  return lines + '\n';
}

}  // namespace

std::variant<Options, CommandLineError> ParseCommandLine(std::span<const std::string_view> args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> inline_value;
    if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
      inline_value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const CommandLineOption* option = FindOption(name);
    if (option == nullptr) {
      return CommandLineError{(name.starts_with("-") ? "unknown option " : "unexpected argument ") +
                              Quoted(name) + " (see --help)"};
    }
    std::string_view value;
    if (option->argument.empty()) {
      if (inline_value) return CommandLineError{std::string(name) + " takes no value"};
    } else if (inline_value) {
      value = *inline_value;
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return CommandLineError{std::string(name) + " needs a value"};
    }
    if (const std::string_view why = option->set(options, value); !why.empty()) {
      return CommandLineError{std::string(name) + ": " + Quoted(value) + " " + std::string(why)};
    }
  }
  return options;
}

std::string Usage() {
  std::string text =
      "usage: starvane [options]\n"
      "  (none)               launcher, then full-screen play; ships.txt and ship files next to "
      "the program\n";
  for (const CommandLineOption& option : CommandLineOptions()) text += HelpLines(option);
  return text +
         R"(In play, Escape ends the game, F12 writes a screenshot next to the ship files and M mutes the
sound. Headless runs are silent unless --audio-out writes their sound.
exit status: 0 normal end; 2 bad command line or bad input script (the message names the
problem, and the file and line); 1 any other failure (for example no display), with a message
)";
}

}  // namespace starvane
