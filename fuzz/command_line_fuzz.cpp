// Any command line (the input split into arguments at zero bytes): it parses into options or
// into one line that says what is wrong, never anything else.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>
#include <vector>

#include "app/command_line.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> arguments;
  std::size_t start = 0;
  while (start <= input.size()) {
    const std::size_t end = std::min(input.find('\0', start), input.size());
    arguments.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  const auto parsed = starvane::ParseCommandLine(arguments);
  if (const auto* error = std::get_if<starvane::CommandLineError>(&parsed)) {
    if (error->message.empty() || error->message.find('\n') != std::string::npos) std::abort();
  }
  return 0;
}
