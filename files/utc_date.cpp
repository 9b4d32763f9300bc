#include "files/utc_date.hpp"

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace starvane {

void CivilDateOfDay(std::int64_t days, std::int64_t& year, int& month, int& day) {
  // In eras of 400 years from 0000-03-01, by plain integer arithmetic: every toolchain of the
  // game has it.
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
}

std::string UtcNow() {
  const std::int64_t seconds = std::chrono::duration_cast<std::chrono::seconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count();
  const std::int64_t day = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  const std::int64_t second_of_day = seconds - day * 86400;
  std::int64_t year = 0;
  int month = 0;
  int day_of_month = 0;
  CivilDateOfDay(day, year, month, day_of_month);
  char text[128];  // room for any 64-bit fields, though a date takes 20
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ",
                static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day_of_month), static_cast<long long>(second_of_day / 3600),
                static_cast<long long>(second_of_day / 60 % 60),
                static_cast<long long>(second_of_day % 60));
  return text;
}

}  // namespace starvane
