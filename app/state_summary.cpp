#include "app/state_summary.hpp"

#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstdio>
#include <map>
#include <string>

#include "world/weapons.hpp"

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
    } else if (const auto byte = static_cast<unsigned char>(c); byte < 0x20 || byte >= 0x7F) {
      // Control bytes, and every byte above 0x7E as the character of the same number, so the
      // summary stays valid JSON (and plain ASCII) whatever bytes a ship name holds.
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(byte));
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

std::string BodyJson(const Body& b) {
  return "{\"kind\": " + Number(b.Kind) + ", \"x\": " + Number(b.Points[0].X) +
         ", \"y\": " + Number(b.Points[0].Y) + ", \"speedX\": " + Number(b.SpeedX) +
         ", \"speedY\": " + Number(b.SpeedY) + ", \"spin\": " + Number(b.Spin) +
         ", \"radius\": " + Number(b.Radius) + ", \"life\": " + Number(b.Life) +
         ", \"lifeMax\": " + Number(b.LifeMax) + ", \"onScreen\": " + Number(b.OnScreen) +
         ", \"nearScreen\": " + Number(b.NearScreen) + ", \"p1\": [" + Number(b.Points[1].X) +
         ", " + Number(b.Points[1].Y) + "]}";
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
          ", \"Boost\": " + EquipmentJson(game.Boost) + ", \"Shock\": " + EquipmentJson(game.Shock);
  for (std::size_t i = 0; i < kWeapons.size(); ++i) {
    json += ", \"Weapon" + std::to_string(i + 1) + "\": " + EquipmentJson(game.*kWeapons[i].record);
  }
  json += ", \"ActiveWeapon\": " + EquipmentJson(game.ActiveWeapon) + "}";
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
  json += "}, \"bodies\": [";
  for (std::int32_t i = 0; i < game.Bodies.CountList(); ++i) {
    json += (i == 0 ? "" : ", ") + BodyJson(game.Bodies.At(i));
  }
  char hash[24];
  std::snprintf(hash, sizeof hash, "%016llx",
                static_cast<unsigned long long>(FrameHash(game.media.Screen)));
  json += "], \"frameHash\": \"";
  json += hash;
  return json + "\"}\n";
}

}  // namespace starvane
