// Frames and drawing: an empty headless frame, a mix of primitives, and presenting through SDL2
// (the last one needs a display: run it under xvfb-run with SDL_RENDER_DRIVER=software).

#include <benchmark/benchmark.h>

#include <string>

#include "media/canvas.hpp"
#include "media/media.hpp"
#include "media/real_screen.hpp"
#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

void BM_EmptyHeadlessFrame(benchmark::State& state) {
  starvane::testing::TempDirectory files;  // a directory of its own for what the game writes
  Media media(files.Path());
  media.OpenScreen(800, 600, "Starvane");
  for (auto _ : state) {
    media.Screen.ClearScreen(0, 0, 0);
    media.Screen.StartDrawing();
    media.ExamineKeyboard();
    media.FlipBuffers();
    media.Screen.StopDrawing();
    benchmark::DoNotOptimize(media.KeyboardPushed(1));
  }
}
BENCHMARK(BM_EmptyHeadlessFrame)->Unit(benchmark::kMicrosecond);

// Clear, 1,000 lines of 100 pixels, 1,000 discs of radius 10, 100 texts of 20 characters.
void BM_PrimitiveMix(benchmark::State& state) {
  Canvas canvas;
  std::int64_t pixels = 0;
  for (auto _ : state) {
    canvas.ClearScreen(0, 0, 40);
    canvas.StartDrawing();
    for (int i = 0; i < 1000; ++i) {
      canvas.FrontColor(i % 256, 255, 128);
      const int x = (i * 37) % 700;
      const int y = (i * 53) % 600;
      canvas.LineXY(x, y, x + 100, y + (i % 41) - 20);
    }
    for (int i = 0; i < 1000; ++i) {
      canvas.FrontColor(255, i % 256, 0);
      canvas.Circle((i * 71) % 800, (i * 29) % 600, 10);
    }
    canvas.BackColor(0, 0, 0);
    for (int i = 0; i < 100; ++i) {
      canvas.Locate((i * 13) % 640, (i * 6) % 590);
      canvas.DrawText("Money : 1234567890ab");
    }
    canvas.StopDrawing();
    benchmark::DoNotOptimize(canvas.Pixels().data());
    pixels += 800 * 600 + 1000 * 100 + 1000 * 314 + 100 * 20 * 8 * 13;
  }
  state.counters["pixels/s"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PrimitiveMix)->Unit(benchmark::kMillisecond);

void BM_PresentThroughSdl(benchmark::State& state) {
  std::string why;
  auto display = ConnectRealScreen({true}, why);
  if (!display || !display->OpenScreen(800, 600, "Starvane")) {
    state.SkipWithError(("no display: " + why).c_str());
    return;
  }
  display->SetFrameRate(0);  // measure the upload and present, not the pacing
  Canvas canvas;
  int frame = 0;
  for (auto _ : state) {
    canvas.ClearScreen(frame % 256, 0, 0);
    display->Present(canvas);
    ++frame;
  }
}
BENCHMARK(BM_PresentThroughSdl)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace starvane
