// Priority B: constrained indents pinned to a period or day that another indent has just filled
// to capacity. They must be placed early, before the engine takes the last slots there, so
// activation promotes them; when the indent that filled the period or day leaves, they are given
// their own letters again.
#pragma once

#include "core/indents/booking.h"

namespace tavrel::indents {

// `IndRevProc_prior`: after a passed booking check of `serial`, promotes it (when its letter is a
// constrained one) and every active constrained indent of the saturated classes and resources
// that is pinned to one of their saturated periods or days.
void IndRevProc_prior(store::Session& session, int serial, const SaturationLists& saturation);

// `chkrest_prior_main`: after the A or B indent `indent` left the active indents, recomputes the
// letter of every constrained B indent of its class and resource (their members when they are
// groups, and the groups of each item that is not one).
void chkrest_prior_main(store::Session& session, const store::TAlloc& indent);

}  // namespace tavrel::indents
