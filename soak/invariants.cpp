#include "soak/invariants.hpp"

#include <cmath>
#include <cstdint>
#include <string>

#include "world/kinds.hpp"
#include "world/weapons.hpp"

namespace starvane::soak {
namespace {

bool Finite(float value) {
  return std::isfinite(value);
}

bool SamePoint(const Point& a, const Point& b) {
  return a.X == b.X && a.Y == b.Y;
}

std::string BodyProblem(const Body& body) {
  const Point& centre = body.Points[0];
  for (const Point& point : body.Points) {
    if (!Finite(point.X) || !Finite(point.Y)) return "a point that is not a finite number";
  }
  if (!SamePoint(body.Points[kBodyPoints - 1], centre)) return "point 100 is not point 0";
  int end = 2;
  while (end < kBodyPoints && !SamePoint(body.Points[static_cast<std::size_t>(end)], centre)) ++end;
  for (int i = end; i < kBodyPoints; ++i) {
    if (!SamePoint(body.Points[static_cast<std::size_t>(i)], centre)) {
      return "point " + std::to_string(i) + " after the outline's end is not point 0";
    }
  }
  return "";
}

std::string FixedPlaceProblem(const Game& game) {
  if (game.Bodies.CountList() < 4) return "fewer than four bodies";
  const std::int16_t shield = game.Bodies.At(kShieldIndex).Kind;
  if (game.Bodies.At(kShipIndex).Kind != kKindShip) return "body 0 is not the ship";
  if (shield != kKindShield && shield != kKindNone) return "body 1 is not the shield";
  if (game.Bodies.At(kHomePlanetIndex).Kind != kKindPlanet) return "body 2 is not the home planet";
  if (game.Bodies.At(kTurretIndex).Kind != kKindWeapon) return "body 3 is not the turret";
  return "";
}

bool FiniteEquipment(const Equipment& e) {
  return Finite(e.Value) && Finite(e.Max) && Finite(e.Refreshrate) && Finite(e.Damage);
}

}  // namespace

std::string BrokenInvariant(const Game& game) {
  if (std::string problem = FixedPlaceProblem(game); !problem.empty()) return problem;
  for (std::int32_t i = 0; i < game.Bodies.CountList(); ++i) {
    if (std::string problem = BodyProblem(game.Bodies.At(i)); !problem.empty()) {
      return "body " + std::to_string(i) + " (kind " + std::to_string(game.Bodies.At(i).Kind) +
             "): " + problem;
    }
  }
  if (game.Money < 0) return "money below 0";
  if (!Finite(game.ViewX) || !Finite(game.ViewY)) return "the view is not a finite number";
  for (std::int32_t i = 0; i < game.Shots.CountList(); ++i) {
    const Shot& shot = game.Shots.At(i);
    if (!Finite(shot.X) || !Finite(shot.Y) || !Finite(shot.SpeedX) || !Finite(shot.SpeedY)) {
      return "shot " + std::to_string(i) + " is not at a finite place or speed";
    }
  }
  for (std::int32_t i = 0; i < game.Sparks.CountList(); ++i) {
    const Spark& spark = game.Sparks.At(i);
    if (!Finite(spark.X) || !Finite(spark.Y)) return "spark " + std::to_string(i) + " is nowhere";
  }
  for (const CursorList<Star>* stars : {&game.BigStars, &game.SmallStars}) {
    for (std::int32_t i = 0; i < stars->CountList(); ++i) {
      if (!Finite(stars->At(i).X) || !Finite(stars->At(i).Y)) return "a star is nowhere";
    }
  }
  for (const Equipment* piece :
       {&game.Life, &game.Energie, &game.Boost, &game.Shock, &game.ActiveWeapon}) {
    if (!FiniteEquipment(*piece)) return "an equipment figure is not a finite number";
  }
  for (const Weapon& weapon : kWeapons) {
    if (!FiniteEquipment(game.*weapon.record)) return "an equipment figure is not a finite number";
  }
  return "";
}

}  // namespace starvane::soak
