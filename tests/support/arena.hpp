#pragma once
// A small world for combat tests: the ship at rest at the origin with its shield off, the home
// planet in its usual place, the turret, and whatever bodies a test adds behind them.

#include <cstdint>
#include <string_view>

#include "combat/visibility.hpp"
#include "life/ship_upkeep.hpp"
#include "tests/support/harness.hpp"
#include "world/body_geometry.hpp"
#include "world/create_body.hpp"
#include "world/kinds.hpp"

namespace starvane::testing {

struct Arena : Harness {
  explicit Arena(float difficulty = 1) : Harness({.difficulty = difficulty}) {
    CreateBody(game, 0, 0, 0, 0, 0, "ship", 255, 0, 255);
    CreateBody(game, 0, 0, 0, 0, 0, "shield", 100, 100, 255);
    game.Bodies.Current().Kind = kKindNone;
    CreateBody(game, -3000, -3000, 0, 0, 0, "planet", 100, 255, 100);
    CreateBody(game, 0, 0, 0, 0, 0, "weapon", 100, 100, 100);
    Upkeep();
  }

  // Adds a body at the end of the list and returns its index.
  std::int64_t Add(std::int32_t x, std::int32_t y, std::string_view kind, std::int32_t speed_x = 0,
                   std::int32_t speed_y = 0) {
    game.Bodies.SelectElement(game.Bodies.CountList() - 1);
    CreateBody(game, x, y, speed_x, speed_y, 0, kind, 10, 20, 30);
    return game.Bodies.CountList() - 1;
  }

  Body& At(std::int64_t index) { return game.Bodies.At(index); }

  // Puts the ship's centre at (x, y) with the given speed, as the next upkeep will see it.
  void PlaceShip(float x, float y, float speed_x = 0, float speed_y = 0) {
    game.Bodies.SelectElement(kShipIndex);
    MoveBodyTo(game, x, y);
    Ship().SpeedX = speed_x;
    Ship().SpeedY = speed_y;
  }

  // The ship's upkeep (ShipX, the view, the ship's copy) and the visibility flags, as the frame
  // has them when collisions, steering and destruction run.
  void Upkeep() {
    ShipUpkeep(game);
    UpdateVisibility(game);
  }

  // Turns the body's outline clockwise by whole degrees about its centre.
  void TurnBody(std::int64_t index, std::int32_t degrees) {
    Body& body = At(index);
    const Rotation rotation = SetRotation(degrees);
    for (std::size_t i = 1; i < kBodyPoints; ++i) {
      body.Points[i] =
          TurnAbout(body.Points[i], body.Points[0], rotation.CosNegA, rotation.SinNegA);
    }
  }
};

}  // namespace starvane::testing
