#include "workshop/upgrades.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>

#include "base/bit_cast.hpp"
#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "world/kinds.hpp"
#include "world/money.hpp"
#include "world/weapons.hpp"

namespace starvane {
namespace {

// The four smallest steps are not the floats nearest to 0.001, 0.002 and 0.0015 but one unit
// in the last place nearer to zero: the refresh rates have always grown by exactly these, and
// prices taken from the rates depend on every bit of them.
constexpr float kPlusThousandth = BitCast<float>(std::uint32_t{0x3A83126E});  // 0.00099999993
constexpr float kPlusTwoThousandths = BitCast<float>(std::uint32_t{0x3B03126E});
constexpr float kMinusTwoThousandths = BitCast<float>(std::uint32_t{0xBB03126E});
constexpr float kMinusThreeHalfThousandths = BitCast<float>(std::uint32_t{0xBAC49BA5});

constexpr std::int32_t kColourPrice = 2;

// A price that grows with the level: the float product, rounded once.
std::int32_t PriceOf(float level, float factor) {
  return RoundToInt(level * factor);
}

// While the mouse is over the box: "(-price)" at (40, 565), green when a click would buy, red
// when it would not.
void ShowPrice(Game& game, int button, std::int32_t price, bool payable) {
  Canvas& screen = game.media.Screen;
  screen.Locate(40, 565);
  if (ButtonHovered(game, button) == 0) return;
  if (payable) {
    screen.FrontColor(0, 255, 0);
  } else {
    screen.FrontColor(255, 0, 0);
  }
  screen.DrawText("(-" + IntToText(price) + ")");
}

// The price shown while the box is hovered, and the step taken when it is clicked and paid for.
template <typename Step>
void Sell(Game& game, int button, std::int32_t price, bool payable, Step&& step) {
  ShowPrice(game, button, price, payable);
  if (ButtonClicked(game, button) != 1) return;
  if (payable) {
    step();
    game.Sounds.AddUnplaced(SoundCueKind::Purchase);
  } else {
    game.Sounds.AddUnplaced(SoundCueKind::Refused);
  }
}

// A line sold for a whole price.
template <typename Step>
void SellFor(Game& game, int button, std::int32_t price, Step&& step) {
  Sell(game, button, price, CanPay(game.Money, price), [&] {
    game.Money = AddMoney(game.Money, -std::int64_t{price});
    step();
  });
}

// A maximum sold for its own value. The test and the payment use the float itself, in double,
// so that money beyond 2^24 loses no units; the money is rounded once, after the payment.
void SellMax(Game& game, int button, float& max) {
  const double price = max;
  Sell(game, button, RoundToInt(price), CanPayExactly(game.Money, price), [&] {
    game.Money = PayExactly(game.Money, price);
    max += 5.0f;
  });
}

// A colour component one step on: past 255 it starts again from black. Worked out in int, so
// that no value from a file can overflow it.
std::int16_t NextShade(std::int16_t shade) {
  const int next = shade + 5;
  return next > 255 ? std::int16_t{0} : static_cast<std::int16_t>(next);
}

}  // namespace

void SellUpgrades(Game& game, const PanelButtons& buttons) {
  Equipment& life = game.Life;
  Equipment& energie = game.Energie;
  Equipment& boost = game.Boost;
  Equipment& shock = game.Shock;

  SellMax(game, buttons.life.max, life.Max);
  SellFor(game, buttons.life.refreshrate, PriceOf(life.Refreshrate, 20000),
          [&] { life.Refreshrate += kPlusThousandth; });
  SellMax(game, buttons.energie.max, energie.Max);
  SellFor(game, buttons.energie.refreshrate, PriceOf(energie.Refreshrate, 2000),
          [&] { energie.Refreshrate += kPlusTwoThousandths; });
  // A stronger boost costs more energy a frame while it runs.
  SellFor(game, buttons.boost.max, PriceOf(boost.Max, 200), [&] {
    boost.Max += 0.01f;
    boost.Refreshrate += kMinusThreeHalfThousandths;
  });
  // So does a stronger or wider shock.
  SellFor(game, buttons.shock.damage, PriceOf(shock.Damage, 2000), [&] {
    shock.Damage += 0.01f;
    shock.Refreshrate += kMinusTwoThousandths;
  });
  // At the top of the 16-bit range one more unit would wrap the range round to a negative one
  // (whose price would then pay the player): nothing is sold there.
  const std::int32_t range_price = shock.Range * 2;
  const bool range_left = shock.Range < std::numeric_limits<std::int16_t>::max();
  Sell(game, buttons.shock.range, range_price, range_left && CanPay(game.Money, range_price), [&] {
    game.Money = AddMoney(game.Money, -std::int64_t{range_price});
    shock.Range = static_cast<std::int16_t>(shock.Range + 1);
    shock.Refreshrate += kMinusTwoThousandths;
  });
  // A weapon's new damage reaches the guns when the weapon is next chosen with its key.
  for (std::size_t i = 0; i < kWeapons.size(); ++i) {
    const Weapon& weapon = kWeapons[i];
    float& damage = (game.*weapon.record).Damage;
    SellFor(game, buttons.weapons[i].damage, PriceOf(damage, weapon.price_factor),
            [&] { damage += weapon.damage_step; });
  }

  Body& ship = game.Bodies.At(kShipIndex);
  SellFor(game, buttons.red, kColourPrice, [&] { ship.Red = NextShade(ship.Red); });
  SellFor(game, buttons.green, kColourPrice, [&] { ship.Green = NextShade(ship.Green); });
  SellFor(game, buttons.blue, kColourPrice, [&] { ship.Blue = NextShade(ship.Blue); });
}

}  // namespace starvane
