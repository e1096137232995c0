#include "core/ports/clock.h"

#include <ctime>

namespace tavrel {

std::string Clock::todayIso() const {
  std::time_t t = std::chrono::system_clock::to_time_t(wallNow());
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[16];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local);
  return buffer;
}

}  // namespace tavrel
