// The institution's default upper limits, which new resources and new per-day limit rows take,
// and pushing them onto the existing classes and resources of the current school.
#pragma once

#include <string>

#include "core/ports/progress.h"
#include "core/store/session.h"

namespace tavrel::engine {

enum class DefaultLimit {
  SubjectPerClass,
  ResourcePerClass,
  ResourcePerDay,
  ResourcePerWeek,
  ResourceSequence
};

int defaultLimitHigh(DefaultLimit limit);  // 12, or 108 for the weekly limit
int defaultLimitValue(const store::TInst& institution, DefaultLimit limit);

// Stores a default as its edit is left; an empty or out-of-range value shows the range message
// and changes nothing (the window restores the old value).
bool setDefaultLimit(store::Session& session, DefaultLimit limit, const std::string& text);

// Which update commands the school allows: resources when it has one; classes when it has any
// per-day limit row.
struct DefaultUpdates {
  bool classes = false;
  bool resources = false;
};
DefaultUpdates availableUpdates(store::Store& store, int school);

// "Update &Classes" with the boxes of the resource and subject limits; false when nothing changed.
bool updateClasses(store::Session& session, Progress& progress, bool resourceLimits, bool subjectLimits);

// "Update &Resources" with the boxes of the per-day, per-week and sequence limits.
bool updateResources(store::Session& session, Progress& progress, bool perDay, bool perWeek, bool sequence);

// "C&lose": the current school takes the per-day and per-week defaults as its `SMAXLEC` and
// `STOTLEC`.
void closeDefaults(store::Session& session);

}  // namespace tavrel::engine
