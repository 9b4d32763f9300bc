#include "world/create_body.hpp"

#include <array>
#include <span>

#include "base/random.hpp"
#include "base/rounding.hpp"
#include "world/body_geometry.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

struct Offset {
  int x;
  int y;
};

// Rocks are octagons whose corners are jittered: corner i = point 0 + corner offset + a random
// 0..Jitter on each axis (x drawn before y, corners in order), so on average a regular octagon
// with its first corner straight up.
struct RockRecipe {
  std::int16_t kind;
  std::string_view code;  // the kind code in decimal, which names it too
  std::string_view name;
  int jitter;
  std::array<Offset, 8> corners;
  std::int16_t radius;
  float life_max;
};

constexpr std::array<RockRecipe, 3> kRocks{{
    {kKindRandomBig,
     "1",
     "randombig",
     20,
     {{{-10, -50}, {18, -38}, {30, -10}, {18, 18}, {-10, 30}, {-38, 18}, {-50, -10}, {-38, -38}}},
     40,
     20},
    {kKindRandom,
     "2",
     "random",
     10,
     {{{-5, -25}, {9, -19}, {15, -5}, {9, 9}, {-5, 15}, {-19, 9}, {-25, -5}, {-19, -19}}},
     20,
     10},
    {kKindRandomLittle,
     "3",
     "randomlittle",
     6,
     {{{-3, -13}, {4, -10}, {7, -3}, {4, 4}, {-3, 7}, {-10, 4}, {-13, -3}, {-10, -10}}},
     10,
     5},
}};

constexpr Offset kShipOutline[] = {{-10, 10}, {0, -10}, {10, 10}, {5, 5}, {0, 5}, {-5, 5}};
constexpr Offset kShieldOutline[] = {{0, -20}, {14, -14}, {20, 0},  {14, 14},
                                     {0, 20},  {-14, 14}, {-20, 0}, {-14, -14}};
constexpr Offset kEnemieOutline[] = {{0, -15}, {5, -5}, {8, -8}, {8, 8},   {5, 5},
                                     {0, 2},   {-5, 5}, {-8, 8}, {-8, -8}, {-5, -5}};
constexpr Offset kEnemie2Outline[] = {{0, -15}, {5, -5}, {8, -8},  {12, 8},  {5, 5},
                                      {0, 2},   {-5, 5}, {-12, 8}, {-8, -8}, {-5, -5}};
constexpr Offset kGlimmerhexOutline[] = {
    {-50, -10}, {-22, -10}, {-22, -17}, {-22, -10}, {-15, -12}, {-11, -17}, {-15, -12},
    {-15, -10}, {-15, -12}, {0, -5},    {2, -11},   {0, -5},    {14, -10},  {15, -5},
    {30, 0},    {20, 2},    {27, 10},   {10, 7},    {0, 15},    {0, 7},     {-7, 0},
    {-15, 5},   {-22, 2},   {-47, 2},   {-47, -2},  {-27, -2},  {-22, -5},  {-50, -5}};
constexpr Offset kEnemie3Outline[] = {{0, -10}, {0, -1}, {0, -10}, {7, -7},  {10, 0},
                                      {7, 7},   {0, 10}, {-7, 7},  {-10, 0}, {-7, -7}};
constexpr Offset kEnemie4Outline[] = {{0, -5}, {0, -1}, {0, -5}, {3, -3}, {5, 0},
                                      {3, 3},  {0, 5},  {-3, 3}, {-5, 0}, {-3, -3}};
// Point 2, ten units out, is the muzzle.
constexpr Offset kWeaponOutline[] = {{0, -2}, {0, -10}, {0, -2}, {1, -1}, {2, 0},
                                     {1, 1},  {0, 2},   {-1, 1}, {-2, 0}, {-1, -1}};

// LifeMax is Difficulty times this factor for the enemy craft, the plain value otherwise.
struct FixedRecipe {
  std::int16_t kind;
  std::string_view code;
  std::string_view name;
  std::span<const Offset> outline;
  std::int16_t radius;
  float life_max;
  bool scales_with_difficulty;
};

constexpr std::array<FixedRecipe, 8> kFixed{{
    {kKindShip, "4", "ship", kShipOutline, 8, 100, false},
    {kKindShield, "5", "shield", kShieldOutline, 20, 100, false},
    {kKindEnemie, "7", "enemie", kEnemieOutline, 12, 30, true},
    {kKindEnemie2, "8", "enemie2", kEnemie2Outline, 12, 100, true},
    {kKindGlimmerhex, "9", "glimmerhex", kGlimmerhexOutline, 25, 100, true},
    {kKindEnemie3, "10", "enemie3", kEnemie3Outline, 10, 50, true},
    {kKindEnemie4, "11", "enemie4", kEnemie4Outline, 5, 10, true},
    {kKindWeapon, "12", "weapon", kWeaponOutline, 0, 10000, false},
}};

constexpr int kPlanetCorners = 30;
constexpr int kPlanetStepDegrees = 12;

bool Names(std::string_view kind_name, std::string_view code, std::string_view name) {
  return kind_name == name || kind_name == code;
}

void FillAfterOutline(Body& body, std::size_t vertices) {
  for (std::size_t i = vertices + 1; i < kBodyPoints; ++i) body.Points[i] = body.Points[0];
}

void SetToughness(Body& body, std::int16_t kind, std::int16_t radius, float life_max) {
  body.Kind = kind;
  body.Radius = radius;
  body.LifeMax = life_max;
  body.Life = life_max;
}

void BuildRock(Game& game, Body& body, const RockRecipe& rock) {
  const Point centre = body.Points[0];
  for (std::size_t i = 0; i < 8; ++i) {
    const int jitter_x = Random(game.Rng, rock.jitter);
    const int jitter_y = Random(game.Rng, rock.jitter);
    body.Points[i + 1] = Point{centre.X + static_cast<float>(rock.corners[i].x + jitter_x),
                               centre.Y + static_cast<float>(rock.corners[i].y + jitter_y)};
  }
  FillAfterOutline(body, 8);
  SetToughness(body, rock.kind, rock.radius, rock.life_max);
}

void BuildFixed(Game& game, Body& body, const FixedRecipe& recipe) {
  const Point centre = body.Points[0];
  const std::size_t vertices = recipe.outline.size();
  for (std::size_t i = 0; i < vertices; ++i) {
    body.Points[i + 1] = Point{centre.X + static_cast<float>(recipe.outline[i].x),
                               centre.Y + static_cast<float>(recipe.outline[i].y)};
  }
  FillAfterOutline(body, vertices);
  const float life_max =
      recipe.scales_with_difficulty ? game.Difficulty * recipe.life_max : recipe.life_max;
  SetToughness(body, recipe.kind, recipe.radius, life_max);
  if (recipe.kind == kKindShip) {
    game.NosePoint = 2;
    game.TailPoint = 5;
  }
}

// A regular 30-gon of radius 400 whose point 1 lies straight to the right of the centre. Each
// further corner is the one before it turned 12 degrees clockwise, so the corners are exactly
// the floats that walk gives.
void BuildPlanet(Body& body) {
  body.Kind = kKindPlanet;
  body.Radius = 400;
  const Point centre = body.Points[0];
  body.Points[1] = Point{centre.X + static_cast<float>(body.Radius), centre.Y};
  FillAfterOutline(body, kPlanetCorners);
  const Rotation step = SetRotation(kPlanetStepDegrees);
  for (std::size_t i = 2; i <= kPlanetCorners; ++i) {
    body.Points[i] = TurnAbout(body.Points[i - 1], centre, step.CosNegA, step.SinNegA);
  }
  SetToughness(body, kKindPlanet, body.Radius, 10000);
}

}  // namespace

bool ApplyBodyRecipe(Game& game, Body& body, std::string_view kind_name) {
  // Every name and every code belongs to one kind only, so the order of the tries is free.
  for (const RockRecipe& rock : kRocks) {
    if (Names(kind_name, rock.code, rock.name)) {
      BuildRock(game, body, rock);
      return true;
    }
  }
  for (const FixedRecipe& recipe : kFixed) {
    if (Names(kind_name, recipe.code, recipe.name)) {
      BuildFixed(game, body, recipe);
      return true;
    }
  }
  if (Names(kind_name, "6", "planet")) {
    BuildPlanet(body);
    return true;
  }
  FillAfterOutline(body, 0);
  SetToughness(body, kKindNone, 0, 0);
  return false;
}

bool IsKindName(std::string_view kind_name) {
  for (const RockRecipe& rock : kRocks) {
    if (Names(kind_name, rock.code, rock.name)) return true;
  }
  for (const FixedRecipe& recipe : kFixed) {
    if (Names(kind_name, recipe.code, recipe.name)) return true;
  }
  return Names(kind_name, "6", "planet");
}

void CreateBody(Game& game, std::int32_t x, std::int32_t y, std::int32_t speed_x,
                std::int32_t speed_y, std::int32_t spin, std::string_view kind_name,
                std::int32_t red, std::int32_t green, std::int32_t blue) {
  Body& body = game.Bodies.AddElement();
  body.Points[0] = Point{static_cast<float>(x), static_cast<float>(y)};
  body.SpeedX = static_cast<float>(speed_x);
  body.SpeedY = static_cast<float>(speed_y);
  ApplyBodyRecipe(game, body, kind_name);
  body.Spin = static_cast<float>(spin);
  body.Red = Low16(red);
  body.Green = Low16(green);
  body.Blue = Low16(blue);
}

}  // namespace starvane
