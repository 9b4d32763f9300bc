#pragma once
// The records of everything in the world. Every new record starts zero-filled.

#include <array>
#include <cstdint>

#include "world/shot_style.hpp"

namespace starvane {

// World units; y points down the screen.
struct Point {
  float X = 0;
  float Y = 0;
};

// Point 0 is the centre, the pivot of turning and the anchor of movement. The outline runs from
// point 1 up to (not including) the first later point exactly equal to point 0; every point
// after the last vertex is a copy of point 0, and point 100 always is one, so an outline has at
// most 99 vertices and every walk along it ends inside the array.
constexpr int kBodyPoints = 101;

struct Body {
  std::array<Point, kBodyPoints> Points{};
  float SpeedX = 0;  // world units per frame
  float SpeedY = 0;
  float Spin = 0;           // degrees per frame, positive turns clockwise on the screen
  std::int16_t Radius = 0;  // half the side of the bounding square
  std::int16_t Kind = 0;    // a kind code (world/kinds.hpp)
  std::int16_t Red = 0;
  std::int16_t Green = 0;
  std::int16_t Blue = 0;
  float Life = 0;               // current hit points
  float LifeMax = 0;            // hit points of a whole body of its kind
  std::int16_t OnScreen = 0;    // the bounding square overlaps the screen
  std::int16_t NearScreen = 0;  // within 200 pixels of the screen: only these turn and steer
};

struct Shot {
  float X = 0;
  float Y = 0;
  float SpeedX = 0;
  float SpeedY = 0;
  ShotStyle Style{};  // its look, and whether it pierces
  std::int16_t Red = 0;
  std::int16_t Green = 0;
  std::int16_t Blue = 0;
  std::int16_t Damage = 0;  // hit points taken from what it hits
};

struct Spark {
  float X = 0;
  float Y = 0;
  float SpeedX = 0;
  float SpeedY = 0;
  std::int16_t Size = 0;    // side of the drawn square in pixels
  std::int16_t Steady = 0;  // 0: fades and is removed once black; otherwise stays as it is
  std::int16_t Red = 0;
  std::int16_t Green = 0;
  std::int16_t Blue = 0;
};

// A button of the STATS panel, in screen pixels.
struct Button {
  std::int16_t X = 0;
  std::int16_t Y = 0;
  std::int16_t Width = 0;
  std::int16_t Height = 0;
  std::int16_t Enabled = 0;  // 0 draws it greyed out
};

struct Star {
  float X = 0;
  float Y = 0;
};

// One piece of the ship's equipment. What the fields mean depends on the piece: Max is the
// ceiling of Value, for the boost its thrust multiplier and for a weapon its reload period in
// frames; Refreshrate is added per frame to Value (life, energy, the active weapon) or, while
// the boost or the shock is on, to the energy.
struct Equipment {
  std::int16_t Active = 0;
  float Value = 0;
  float Max = 0;
  float Refreshrate = 0;
  float Damage = 0;
  std::int16_t Range = 0;
};

}  // namespace starvane
