// Making one cell of a class, a resource or the school not available, or available. A free cell
// simply changes, and the owner's availability total follows. An allocated cell first loses its
// lesson, after the person agreed: the whole block of a cluster on that day, each period released
// everywhere it lives (see period_release.h). Every change is committed at once.
#pragma once

#include <string_view>

#include "core/grid/grid_owner.h"
#include "core/store/session.h"

namespace tavrel::grid {

inline constexpr std::string_view kEraseForNotAvailable =
    "Period is allocated. Making it not available will erase the allocation. Select Yes to erase.";
inline constexpr std::string_view kEraseForAvailable =
    "Period is allocated. Making it available will erase the allocation. Select Yes to erase.";
inline constexpr std::string_view kBeyondSchoolAvailability =
    "Period number position exceeds School availability. Can not therefore make available.";

enum class ChangeOutcome {
  Changed,    // the cell (and the rest of its block) changed
  Unchanged,  // already so, or the owner has no row there
  Declined,   // the person answered No to erasing the allocation
  Refused,    // outside the school's week: the message was shown
};

// Whether Make Available asks before erasing an allocation: the proxy window gives its substitutes'
// periods back without asking.
enum class Confirmation { Ask, DoNotAsk };

// "Make Not Available". In a resource grid, a cell that becomes not available where the school's
// cell is available marks the resource part time.
ChangeOutcome makeNotAvailable(store::Session& session, GridOwner owner, int day, int period);

// "Make Available". A class's or resource's cell beyond the school's periods per day, or on a day
// beyond its week cycle, is refused: a period there could never be allocated, yet would count as
// room for indents.
ChangeOutcome makeAvailable(store::Session& session, GridOwner owner, int day, int period,
                            Confirmation confirmation = Confirmation::Ask);

}  // namespace tavrel::grid
