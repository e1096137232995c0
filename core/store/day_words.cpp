#include "core/store/day_words.h"

#include <array>

#include "core/store/store.h"
#include "core/store/week_frame.h"

namespace tavrel::store {

namespace {

constexpr int kDaysInFrame = 9;
constexpr int kDaysInWeek = 7;

constexpr std::array<std::string_view, kDaysInWeek> kMondayFirst = {
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr std::array<std::string_view, kDaysInWeek> kSaturdayFirst = {
    "Saturday", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};

std::string numberedDay(int day) {
  return "Day" + std::to_string(day);
}

}  // namespace

std::string DayWords(int day, int swrkdays, std::string_view sregn) {
  if (day < 1 || day > kDaysInFrame) return {};
  // A cycle longer than a week has no weekday names, and days 8 and 9 never have one.
  if (day > kDaysInWeek || daysInCycle(swrkdays) > kDaysInWeek) return numberedDay(day);
  const auto& names = sregn == "STANDARD" ? kMondayFirst : kSaturdayFirst;
  return std::string(names[static_cast<std::size_t>(day - 1)]);
}

std::string DayWords(int day, const TSchl& school) {
  return DayWords(day, school.SWRKDAYS, school.SREGN);
}

std::vector<std::string> Fill_DayList(int swrkdays, std::string_view sregn) {
  std::vector<std::string> names;
  for (int day = 1; day <= kDaysInFrame; ++day) names.push_back(DayWords(day, swrkdays, sregn));
  return names;
}

std::string GetDay(Store& store, int school, int n) {
  if (n < 1) return {};
  const std::vector<TRPDate> days = store.table<TRPDate>().range(TRPDate::primary, {school});
  if (static_cast<std::size_t>(n) > days.size()) return {};
  return days[static_cast<std::size_t>(n - 1)].RPDDAY;
}

}  // namespace tavrel::store
