#pragma once

#include <string>

namespace starvane {

// Writes the text to the file ('-': standard output); false with the reason when it could not.
bool WriteText(const std::string& path, const std::string& text, std::string& why);

}  // namespace starvane
