// Activating indents for a person who is not at a window: the command-line tool and the import.
// Each indent is validated and activated silently, as "Activate  A&ll" does, but instead of a
// count of failures every indent that stays passive is named by its class, resource and subject,
// with the reason validation gave for it.
#pragma once

#include <string>
#include <vector>

#include "core/store/session.h"

namespace tavrel::indents {

struct ActivationFailure {
  int serial = 0;
  std::string className;
  std::string resource;
  std::string subject;
  std::string reason;

  // "<class> / <resource> / <subject>: <reason>"
  std::string text() const;
};

struct ActivationReport {
  std::vector<int> activated;
  std::vector<ActivationFailure> failures;
};

// Validates and activates the passive indents of the current school given by serial, in that
// order. No question reaches the person: every question validation would ask is answered No, which
// is what the silent activation decides too. Indents already active or gone are skipped.
ActivationReport activateAndReport(store::Session& session, const std::vector<int>& serials);

// The serials of the current school's passive indents, in serial order.
std::vector<int> passiveIndents(store::Session& session);

}  // namespace tavrel::indents
