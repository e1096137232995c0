#include "core/indents/engine_allocator.h"

#include "core/engine/allocation_run.h"
#include "core/engine/parameters.h"
#include "core/engine/table_slots.h"

namespace tavrel::indents {

using namespace store;

namespace {

// Cells of the indent's lists where the owner (and, for a group, every member) is free.
int freeListedCells(engine::TableSlots& slots, const engine::IndentInHand& indent, bool classSide) {
  const int owner = classSide ? indent.cls : indent.resource;
  const std::vector<int>& members = classSide ? indent.classMembers : indent.resourceMembers;
  auto free = [&](int code, int day, int period) {
    const int partner =
        classSide ? slots.classPartner(code, day, period) : slots.resourcePartner(code, day, period);
    return partner == engine::kFree;
  };
  int cells = 0;
  for (int day : indent.days) {
    for (int period : indent.periods) {
      bool open = free(owner, day, period);
      for (int member : members) open = open && free(member, day, period);
      cells += open ? 1 : 0;
    }
  }
  return cells;
}

// The side (or sides) too short of free periods for what the indent still lacks; when each has
// enough on its own but not together, both are named.
std::vector<Owner> shortSides(Session& session, const TAlloc& indent) {
  const int missing = indent.ANOOFLEC - indent.ANOLECALL;
  engine::TableSlots slots(session.store(), indent.ASCHOOL);
  const engine::IndentInHand hand =
      slots.prepare(engine::allocationParameters(indent, missing, engine::kReattempt));
  std::vector<Owner> sides;
  if (freeListedCells(slots, hand, true) < missing) sides.push_back({OwnerKind::Class, indent.ACLASS});
  if (freeListedCells(slots, hand, false) < missing) sides.push_back({OwnerKind::Resource, indent.ATEACHER});
  if (sides.empty()) sides = {{OwnerKind::Class, indent.ACLASS}, {OwnerKind::Resource, indent.ATEACHER}};
  return sides;
}

}  // namespace

EngineReport EngineAllocator::allocate(Session& session, int serial) {
  EngineReport report;
  const engine::TableModeSettings settings{.seed = settings_.seed,
                                           .rearrangeLimit = settings_.rearrangeLimit,
                                           .clusterPermission = session.ClusterPermission,
                                           .rearrange = true,
                                           .diagnose = true};
  const engine::IndentAllocation result = engine::allocateIndent(
      session, engine::EnginePorts{session.prompter(), progress_, clock_}, serial, settings);
  report.diagnosis = result.diagnosis;
  if (result.missing > 0) {
    if (auto indent = findIndent(session, serial)) report.shortOf = shortSides(session, *indent);
  }
  return report;
}

}  // namespace tavrel::indents
