// What a command says while its window or its rules are not part of this version yet: it stays
// disabled and its tooltip says why, so nobody mistakes it for a fault.
#pragma once

namespace tavrel::app {

inline constexpr const char* kNotAvailable = "Not available yet in this version.";

}  // namespace tavrel::app
