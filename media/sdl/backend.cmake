# The desktop's backend: SDL2 opens the window, plays the sound and reads the keyboard, the mouse
# and the game controllers. Only this library sees it.
find_package(SDL2 REQUIRED)
target_link_libraries(starvane_media_sdl PRIVATE SDL2::SDL2)
