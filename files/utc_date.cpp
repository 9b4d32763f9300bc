#include "files/utc_date.hpp"

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace starvane {

std::string UtcNow() {
  const std::int64_t seconds = std::chrono::duration_cast<std::chrono::seconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count();
  // The civil date of a day count since 1970-01-01 (the proleptic Gregorian calendar, in eras
  // of 400 years), by plain integer arithmetic: every toolchain of the game has it.
  const std::int64_t day = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  const std::int64_t second_of_day = seconds - day * 86400;
  const std::int64_t shifted = day + 719468;  // days since 0000-03-01
  const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const std::int64_t day_of_era = shifted - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t month_from_march = (5 * day_of_year + 2) / 153;
  const std::int64_t day_of_month = day_of_year - (153 * month_from_march + 2) / 5 + 1;
  const std::int64_t month = month_from_march < 10 ? month_from_march + 3 : month_from_march - 9;
  const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  char text[128];  // room for any 64-bit fields, though a date takes 20
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ",
                static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day_of_month), static_cast<long long>(second_of_day / 3600),
                static_cast<long long>(second_of_day / 60 % 60),
                static_cast<long long>(second_of_day % 60));
  return text;
}

}  // namespace starvane
