#pragma once
// The date and time now, in UTC: when a kept game began, for its name and its lists. Like the
// fresh seed (base/random.hpp) it is read from the system's clock, and never by the game's rules.

#include <cstdint>
#include <string>

namespace starvane {

// Now as ISO 8601 in UTC, to the second: "2026-12-10T13:40:05Z".
std::string UtcNow();

// The date of a day counted from 1970-01-01 (the proleptic Gregorian calendar).
void CivilDateOfDay(std::int64_t days, std::int64_t& year, int& month, int& day);

}  // namespace starvane
