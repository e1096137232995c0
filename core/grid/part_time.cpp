#include "core/grid/part_time.h"

#include <array>
#include <string>
#include <utility>

#include "core/grid/week_shape.h"

namespace tavrel::grid {

using namespace store;

bool schoolAvailableAt(Store& store, int school, int day, int period) {
  auto row = store.table<TTtbl>().find(TTtbl::TIMESCHL, {school, "L", school, day, period});
  return row && row->TSUBJECT != 0;
}

bool notAvailableWhereSchoolIs(Store& store, int school, int resource) {
  std::array<bool, kCells> schoolAvailable{};
  store.table<TTtbl>().forEach(TTtbl::TIMESCHL, {school, "L", school}, [&](const TTtbl& row) {
    if (row.TDAY >= 1 && row.TDAY <= kDays && row.TLECTNO >= 1 && row.TLECTNO <= kPeriods) {
      schoolAvailable[static_cast<std::size_t>(cellIndex(row.TDAY, row.TLECTNO))] = row.TSUBJECT != 0;
    }
  });
  bool partTime = false;
  store.table<TTtbl>().forEach(TTtbl::TIMESCHL, {school, "T", resource}, [&](const TTtbl& row) {
    if (row.TDAY >= 1 && row.TDAY <= kDays && row.TLECTNO >= 1 && row.TLECTNO <= kPeriods &&
        row.TSUBJECT == 0 && schoolAvailable[static_cast<std::size_t>(cellIndex(row.TDAY, row.TLECTNO))]) {
      partTime = true;
    }
  });
  return partTime;
}

void setPartTime(Store& store, int school, int resource, bool partTime) {
  auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, resource});
  if (!row) return;
  std::string flag(1, partTime ? 'Y' : 'N');
  if (row->TPARTTIME == flag) return;
  row->TPARTTIME = std::move(flag);
  store.table<TTeac>().update(*row);
}

}  // namespace tavrel::grid
