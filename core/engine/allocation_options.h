// The allocation switches ("Allocate Options", and the options step of "Allocate Select"): the
// four limits the placement checks apply, which are fields of the institution record, and the
// cluster permission, which lives in the session only.
#pragma once

#include "core/store/session.h"

namespace tavrel::engine {

struct AllocationOptions {
  bool subjectPerDay = true;        // `ISUL_CLASS`: "Apply for Class per Day upper limit of Subject"
  bool resourcePerClassDay = true;  // `ITUL_CLASS`: "Apply for Class per Day upper limit of Resource"
  bool resourcePerDay = true;       // `ITUL_DAY`: "Apply per Day upper limit of Resource"
  bool continuity = false;          // `ITSQUL`: "Apply Resource Continuity Sequence upper limit"
  bool clusterPermission = false;   // `ClusterPermission`: "Apply Cluster Permission for Regular indents"

  bool operator==(const AllocationOptions&) const = default;
};

// The switches as they stand: the institution record's and the session's.
AllocationOptions allocationOptions(store::Session& session);

// "O&k": the four limits are posted to the institution record (in a transaction of their own,
// only when one changed) and the cluster permission is kept in the session.
void saveAllocationOptions(store::Session& session, const AllocationOptions& options);

}  // namespace tavrel::engine
