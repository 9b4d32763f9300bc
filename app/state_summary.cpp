#include "app/state_summary.hpp"

#include <cmath>
#include <concepts>
#include <cstdio>
#include <map>

namespace starvane {
namespace {

std::string Number(float x) {
  if (!std::isfinite(x)) return "null";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(x));
  return buffer;
}

template <std::integral Int>
std::string Number(Int n) {
  return std::to_string(n);
}

std::string Text(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string EquipmentJson(const Equipment& e) {
  return "{\"active\": " + Number(e.Active) + ", \"value\": " + Number(e.Value) +
         ", \"max\": " + Number(e.Max) + ", \"refreshrate\": " + Number(e.Refreshrate) +
         ", \"damage\": " + Number(e.Damage) + ", \"range\": " + Number(e.Range) + "}";
}

}  // namespace

std::string StateSummary(const Game& game, std::int64_t frame) {
  const Body& ship = game.Bodies.At(0);
  std::map<int, int> kinds;
  for (std::int32_t i = 0; i < game.Bodies.CountList(); ++i) ++kinds[game.Bodies.At(i).Kind];

  std::string json = "{\"frame\": " + Number(frame);
  json += ", \"seed\": " + std::to_string(game.Rng.SeedValue());
  json += ", \"difficulty\": " + Number(game.Difficulty);
  json += ", \"shipName\": " + Text(game.ShipName);
  json += ", \"money\": " + Number(game.Money);
  json += ", \"selectedWeapon\": " + Number(game.SelectedWeapon);
  json += ", \"teleportCharge\": " + Number(game.TeleportCharge);
  json += ", \"statsOpen\": " + Number(game.StatsOpen);
  json += ", \"view\": [" + Number(game.ViewX) + ", " + Number(game.ViewY) + "]";
  json += ", \"background\": [" + Number(game.BackRed) + ", " + Number(game.BackGreen) + ", " +
          Number(game.BackBlue) + "]";
  json += ", \"ship\": {\"x\": " + Number(ship.Points[0].X) +
          ", \"y\": " + Number(ship.Points[0].Y) + ", \"speedX\": " + Number(ship.SpeedX) +
          ", \"speedY\": " + Number(ship.SpeedY) + ", \"spin\": " + Number(ship.Spin) +
          ", \"kind\": " + Number(ship.Kind) + ", \"red\": " + Number(ship.Red) +
          ", \"green\": " + Number(ship.Green) + ", \"blue\": " + Number(ship.Blue) + "}";
  json += ", \"shieldKind\": " + Number(game.ShieldKind);
  json += ", \"equipment\": {\"Life\": " + EquipmentJson(game.Life) +
          ", \"Energie\": " + EquipmentJson(game.Energie) +
          ", \"Boost\": " + EquipmentJson(game.Boost) +
          ", \"Shock\": " + EquipmentJson(game.Shock) +
          ", \"Weapon1\": " + EquipmentJson(game.Weapon1) +
          ", \"Weapon2\": " + EquipmentJson(game.Weapon2) +
          ", \"Weapon3\": " + EquipmentJson(game.Weapon3) +
          ", \"ActiveWeapon\": " + EquipmentJson(game.ActiveWeapon) + "}";
  json += ", \"counts\": {\"bodies\": " + Number(game.Bodies.CountList()) +
          ", \"bigStars\": " + Number(game.BigStars.CountList()) +
          ", \"smallStars\": " + Number(game.SmallStars.CountList()) +
          ", \"sparks\": " + Number(game.Sparks.CountList()) +
          ", \"shots\": " + Number(game.Shots.CountList()) +
          ", \"buttons\": " + Number(game.Buttons.CountList()) + "}";
  json += ", \"kinds\": {";
  const char* separator = "";
  for (const auto& [kind, count] : kinds) {
    json += separator + Text(std::to_string(kind)) + ": " + Number(count);
    separator = ", ";
  }
  return json + "}}\n";
}

}  // namespace starvane
