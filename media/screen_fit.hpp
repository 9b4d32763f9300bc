#pragma once
// Where the 800 x 600 image goes on an output of any size: as large as fits with its aspect
// kept, a whole-number scale whenever at least 1x fits (sharp pixels), centred, with black bars.

namespace starvane {

struct Viewport {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

Viewport FitScreen(int output_width, int output_height);

}  // namespace starvane
