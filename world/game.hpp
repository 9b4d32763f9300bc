#pragma once
// The one state of the running game: the six world lists, every shared global under its own
// name with its start value, the random generator, and the media layer it plays on.

#include <array>
#include <cstdint>
#include <string>

#include "base/cursor_list.hpp"
#include "base/random.hpp"
#include "media/media.hpp"
#include "world/records.hpp"

namespace starvane {

struct Game {
  explicit Game(Media& media_layer) : media(media_layer) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Media& media;
  RandomGenerator Rng;

  // The world lists, in the order they are created.
  CursorList<Star> BigStars;
  CursorList<Star> SmallStars;
  CursorList<Body> Bodies;
  CursorList<Button> Buttons;
  CursorList<Spark> Sparks;
  CursorList<Shot> Shots;

  // Globals with a start value of their own.
  float Pi = 3.1415927f;
  std::int32_t WorldWidth = 10000;   // half the width: x runs from -10000 to +10000
  std::int32_t WorldHeight = 10000;  // half the height
  std::int16_t Gravity = 4000;       // the home planet pulls by -Gravity / distance squared
  std::int16_t SelectedWeapon = 1;
  std::string PlayerKindName = "ship";
  std::int32_t Money = 0;
  std::string ShipName = "MyShip";
  float Difficulty = 0;  // 0.2, 1, 10, 70 or 150, chosen before anything reads it
  // The ship's file is there but could not be read when the ship was loaded (no permission, an
  // I/O error, a directory of that name). The ship then flies with the start equipment, and its
  // file, which may still hold the player's real ship, is never saved over.
  bool ShipFileUnreadable = false;
  // What keeps the ship's file from being saved over, said of the file ("the ship file "X" is
  // write-protected", "... cannot be opened (File name too long)"); empty when nothing does.
  std::string ShipFileProblem;

  // The ship's equipment: Active, Value, Max, Refreshrate, Damage, Range.
  Equipment Life{0, 100, 100, 0.005f, 0, 0};
  Equipment Energie{0, 300, 300, 0.1f, 0, 0};
  Equipment Boost{0, 1.0f, 1.5f, -0.2f, 0, 0};
  Equipment Shock{0, 0, 0, -0.5f, 0.1f, 100};
  Equipment Weapon1{0, 0, 2, 0, 1, 0};
  Equipment Weapon2{0, 0, 20, 0, 10, 0};
  Equipment Weapon3{0, 0, 200, 0, 10, 0};
  Equipment ActiveWeapon{};  // the working record of the selected weapon

  // Shared per-frame globals.
  float ViewX = 0;  // screen position = world position + (ViewX, ViewY)
  float ViewY = 0;
  float ShipX = 0;
  float ShipY = 0;
  float ShipSpeedX = 0;
  float ShipSpeedY = 0;
  float ShipSpeed = 0;
  std::int16_t BackRed = 0;  // the colour each frame is cleared with
  std::int16_t BackGreen = 0;
  std::int16_t BackBlue = 0;
  std::int16_t StatsOpen = 0;  // 1: the STATS panel runs in the next frame
  // The left mouse button in the STATS panel: 0 up, 1 just went down (for one panel frame: only
  // then does a click count), 2 held. Kept from one opening of the panel to the next.
  std::int16_t MouseClickState = 0;

  // Rotation factors set by SetRotation.
  float CosA = 0;
  float SinA = 0;
  float CosNegA = 0;
  float SinNegA = 0;

  // The ship's state between frames.
  Body ShipOverride{};  // changes queued for the ship; 0.0 means no change
  Body ShipCopy{};      // the ship's shape as of the last upkeep
  std::int16_t FrameTick = 0;
  std::int16_t FrameTock = 0;
  std::int16_t TeleportCharge = 0;
  std::int16_t HomePlanetOnScreen = 0;
  std::int16_t ShieldKind = 0;
  std::int16_t ShipKind = 0;
  std::int16_t TurretTurn = 0;  // -2, 0 or +2 degrees a frame added to the turret's spin
  std::int16_t NosePoint = 0;   // the ship's tip, from which its heading is taken
  std::int16_t TailPoint = 0;   // where the exhaust leaves

  // The line last computed by LineThrough: y = LineSlope * x + LineIntercept.
  float LineSlope = 0;
  float LineIntercept = 0;

  // Effects: the work points of a lightning bolt, and the flicker of the teleport ring.
  std::array<Point, 51> LightningPoints{};
  std::int32_t TeleportShimmer = 0;
};

}  // namespace starvane
