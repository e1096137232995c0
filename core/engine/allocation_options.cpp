#include "core/engine/allocation_options.h"

namespace tavrel::engine {

using namespace store;

AllocationOptions allocationOptions(Session& session) {
  const TInst institution = session.store().institution();
  return AllocationOptions{.subjectPerDay = institution.ISUL_CLASS,
                           .resourcePerClassDay = institution.ITUL_CLASS,
                           .resourcePerDay = institution.ITUL_DAY,
                           .continuity = institution.ITSQUL,
                           .clusterPermission = session.ClusterPermission};
}

void saveAllocationOptions(Session& session, const AllocationOptions& options) {
  session.ClusterPermission = options.clusterPermission;
  Store& store = session.store();
  TInst institution = store.institution();
  if (institution.ISUL_CLASS == options.subjectPerDay &&
      institution.ITUL_CLASS == options.resourcePerClassDay &&
      institution.ITUL_DAY == options.resourcePerDay && institution.ITSQUL == options.continuity) {
    return;
  }
  institution.ISUL_CLASS = options.subjectPerDay;
  institution.ITUL_CLASS = options.resourcePerClassDay;
  institution.ITUL_DAY = options.resourcePerDay;
  institution.ITSQUL = options.continuity;
  Transaction tx(store);
  store.saveInstitution(institution);
  tx.commit();
  session.flush(kFlushInstitution);
}

}  // namespace tavrel::engine
