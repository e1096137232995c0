// "&Last Work": back to the indent that was selected when the indent window last closed in the
// current view.
#pragma once

#include <optional>
#include <string_view>

#include "core/store/session.h"

namespace tavrel::reports {

inline constexpr std::string_view kLastWorkNotFound = "Last Work not found.";

struct LastWork {
  int item = 0;    // the class, resource or subject of the indent
  int serial = 0;  // the indent the indent window selects when it loads
};

// Looks up the indent remembered for the session's view (`SCLSSRL`, `STCHSRL`, `SSUBSRL`) and
// makes its class, resource or subject the current one. Shows "Last Work not found." when the
// indent no longer exists.
std::optional<LastWork> lastWork(store::Session& session);

}  // namespace tavrel::reports
