#pragma once
// The browser names a key by its position on the keyboard (KeyboardEvent.code: "KeyA" is the key
// where an American keyboard has A), as the game does by its scan codes (media/keys.hpp).

#include <string_view>

namespace starvane {

// The game's code of the key the browser names so; 0 for a key the game has no code for.
int KeyCodeOfDomCode(std::string_view code);

// The browser's name of the key of this code (its first name, where it has had two); "" for a
// code no key of the browser has.
std::string_view DomCodeOfKeyCode(int key);

}  // namespace starvane
