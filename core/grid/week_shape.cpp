#include "core/grid/week_shape.h"

#include "core/store/week_frame.h"

namespace tavrel::grid {

WeekShape weekShape(int swrkdays, GridKind kind) {
  return {store::daysInCycle(swrkdays), store::periodsPerDay(swrkdays), kind == GridKind::School};
}

}  // namespace tavrel::grid
