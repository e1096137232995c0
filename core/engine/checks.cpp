#include "core/engine/checks.h"

#include "core/engine/table_slots.h"
#include "core/engine/working_set.h"
#include "core/store/encoded_lists.h"

namespace tavrel::engine {

static_assert(SlotStore<WorkingSet>, "the working set is a slot store");
static_assert(SlotStore<TableSlots>, "the tables are a slot store");

std::vector<int> listedMembers(std::string_view list, int largest) {
  std::vector<int> members = store::listMembers(list);
  std::erase_if(members, [&](int n) { return n < 1 || n > largest; });
  return members;
}

PlacementRules PlacementRules::of(const store::TInst& institution, const store::TSchl& school,
                                  bool clusterPermission) {
  return PlacementRules{institution.ISUL_CLASS, institution.ITUL_CLASS,
                        institution.ITUL_DAY,   institution.ITSQUL,
                        clusterPermission,      listedMembers(school.SRECESS, kPeriods - 1)};
}

}  // namespace tavrel::engine
