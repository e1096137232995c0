// Activation: a passive indent that passed `Validate` joins the allocation. Its count is recorded
// as demand on its class, resource and subject (and on the members of a group class or resource),
// and the per-day limits of its class are raised to what its class's active indents need, so the
// engine never works against a limit the indents cannot meet. A regular one-per-day indent that
// would share its subject with indents needing more than one period a day gets a subject variant
// of its own first.
#pragma once

#include <vector>

#include "core/indents/validation.h"

namespace tavrel::indents {

// `AddActvProc`: the table effects of activating `serial`. False when the one-per-day revision was
// refused; the indent is then passive again and nothing else has changed.
bool AddActvProc(store::Session& session, int serial, Interaction interaction);

struct ActivationResult {
  bool activated = false;
  ValidationResult validation;
};

// `MakeActv`: validates and activates one passive indent.
ActivationResult MakeActv(store::Session& session, int serial, Interaction interaction);

// "Activate  A&ll": activates the passive indents in the order given (the passive grid's), silently,
// and reports how many failed. Returns the serials still passive, in the same order.
std::vector<int> ActivateAll(store::Session& session, const std::vector<int>& passiveSerials);

}  // namespace tavrel::indents
