#include "base/text_quoting.hpp"

#include <system_error>

namespace starvane {

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      const char* digits = "0123456789ABCDEF";
      quoted += "\\x";
      quoted += digits[byte >> 4];
      quoted += digits[byte & 0xF];
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string ErrnoText(int error) {
  return std::generic_category().message(error);
}

}  // namespace starvane
