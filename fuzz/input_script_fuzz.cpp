// Any bytes as an input script: it parses or is refused with a message naming the file and
// line. What parses is written back the way a recording writes it, and that text parses to the
// same events, end, header, ship file, held keys and result: a recording always replays.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "media/keys.hpp"
#include "replay/base64.hpp"
#include "replay/input_script.hpp"

namespace {

using starvane::InputEvent;
using starvane::InputScript;

bool SameEvent(const InputEvent& a, const InputEvent& b) {
  return a.frame == b.frame && a.type == b.type && a.keys == b.keys && a.dx == b.dx &&
         a.dy == b.dy && a.button == b.button && a.text == b.text;
}

std::string Rewritten(const InputScript& script) {
  std::string text;
  if (script.launcher) {
    text += starvane::InputScriptLauncherHeader(script.seed.value_or(0));
  } else if (script.seed && script.difficulty && script.ship) {
    text += starvane::InputScriptHeader(*script.seed, *script.difficulty, *script.ship);
  }
  if (script.ship_file) text += "shipfile " + starvane::EncodeBase64(*script.ship_file) + "\n";
  if (!script.held.empty()) {
    text += "held";
    for (int key : script.held) text += " " + std::string(starvane::KeyName(key));
    text += "\n";
  }
  for (const InputEvent& event : script.events) text += starvane::InputEventLine(event);
  if (script.end) text += starvane::ScriptEndLine(*script.end);
  if (script.result) text += starvane::ResultLine(*script.result);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto parsed = starvane::ParseInputScript(text, "fuzz.txt");
  if (const auto* error = std::get_if<starvane::InputScriptError>(&parsed)) {
    if (error->message.rfind("fuzz.txt:", 0) != 0) std::abort();
    return 0;
  }
  const InputScript& script = std::get<InputScript>(parsed);
  const auto again = starvane::ParseInputScript(Rewritten(script), "rewritten.txt");
  const auto* reread = std::get_if<InputScript>(&again);
  if (reread == nullptr || reread->events.size() != script.events.size()) std::abort();
  for (std::size_t i = 0; i < script.events.size(); ++i) {
    if (!SameEvent(reread->events[i], script.events[i])) std::abort();
  }
  const bool same_end = reread->end.has_value() == script.end.has_value() &&
                        (!script.end || (reread->end->frame == script.end->frame &&
                                         reread->end->reason == script.end->reason));
  if (!same_end || reread->launcher != script.launcher) std::abort();
  if (reread->ship_file != script.ship_file || reread->held != script.held ||
      reread->result != script.result) {
    std::abort();
  }
  if (!script.launcher && script.seed && script.difficulty && script.ship &&
      (reread->seed != script.seed || reread->difficulty != script.difficulty ||
       reread->ship != script.ship)) {
    std::abort();
  }
  return 0;
}
