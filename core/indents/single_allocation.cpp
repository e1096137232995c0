#include "core/indents/single_allocation.h"

#include "core/engine/allocation_run.h"
#include "core/engine/parameters.h"
#include "core/store/default_constraint.h"

namespace tavrel::indents {

using namespace store;

namespace {

void writeParameterRows(Session& session, const TAlloc& indent) {
  Store& store = session.store();
  const int missing = indent.ANOOFLEC - indent.ANOLECALL;
  TRPara rearrange = engine::rearrangeParameters(indent, missing, "T");
  TAPara allocate = engine::allocationParameters(indent, missing, "R");
  Transaction tx(store);
  store.table<TRPara>().removeAll();
  store.table<TRPara>().insert(rearrange);
  store.table<TAPara>().removeAll();
  store.table<TAPara>().insert(allocate);
  tx.commit();
  session.flush(kFlushAllocationParameters);
  session.flush(kFlushRearrangeParameters);
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : " and ") + names[i];
  return text;
}

std::string constraintHelp(Session& session, const TAlloc& indent, const EngineReport& report) {
  Store& store = session.store();
  const int school = indent.ASCHOOL;
  std::vector<Owner> shortOf = report.shortOf;
  // An engine that names nothing leaves both sides to be reviewed.
  if (shortOf.empty()) shortOf = {{OwnerKind::Class, indent.ACLASS}, {OwnerKind::Resource, indent.ATEACHER}};
  std::vector<std::string> names;
  std::vector<std::string> groups;
  for (const Owner& owner : shortOf) {
    names.push_back(ownerName(store, school, owner.kind, owner.code));
    if (isGroup(store, school, owner.kind, owner.code)) groups.push_back(names.back());
  }
  std::string text =
      "Change the indent constraint after reviewing the availability of " + joined(names) + ".";
  if (!groups.empty()) {
    text += std::string("You will need to check the availability of each of the group constituents") +
            " since the " + joined(groups) + (groups.size() == 1 ? " is a group." : " are a group.");
  }
  return text + " Select Yes to remove the constraint altogether and allocate.";
}

void removeConstraint(Session& session, TAlloc indent) {
  auto school = session.school();
  AsgnDefault(indent, qry_init(school ? school->SWRKDAYS : 0));
  Transaction tx(session.store());
  session.store().table<TAlloc>().update(indent);
  tx.commit();
  session.flush(kFlushIndents);
}

}  // namespace

std::string elapsedText(std::chrono::steady_clock::duration elapsed) {
  return "Time elapsed: " + engine::elapsedText(elapsed);
}

AllocationResult MakeAlloc(Session& session, IndentAllocator& allocator, int serial) {
  AllocationResult result;
  auto indent = findIndent(session, serial);
  if (!indent || !isActive(*indent)) {
    result.report.attempted = false;
    return result;
  }
  result.placedBefore = indent->ANOLECALL;
  result.placedAfter = indent->ANOLECALL;
  result.count = indent->ANOOFLEC;
  writeParameterRows(session, *indent);
  result.report = allocator.allocate(session, serial);
  if (auto after = findIndent(session, serial)) result.placedAfter = after->ANOLECALL;
  return result;
}

AllocateIndentResult AllocateIndent(Session& session, IndentAllocator& allocator, const Clock& clock,
                                    int serial) {
  Prompter& prompter = session.prompter();
  const AllocateIndentResult none;
  // Only an active indent takes part in allocation; the window offers the command for no other.
  if (auto indent = findIndent(session, serial); !indent || !isActive(*indent)) return none;
  const auto start = clock.now();
  const AllocationResult result = MakeAlloc(session, allocator, serial);
  if (!result.report.attempted) {
    prompter.info(kEngineNotWired);
    return none;
  }
  const std::string done = std::to_string(result.placedAfter) + "/" + std::to_string(result.count) +
                           " periods allocated for this indent." + elapsedText(clock.now() - start) + ".";
  if (result.complete()) {
    prompter.info(done);
    return none;
  }
  if (!prompter.ask(MessageKind::Information, done + " Select Yes for assistance.")) return none;
  if (result.report.blockingReasonsRecorded()) {
    return AllocateIndentResult{AllocateFollowUp::OpenAssistance, result.report.diagnosis};
  }
  auto indent = findIndent(session, serial);
  if (!indent) return none;
  if (!hasConstraint(*indent)) {
    prompter.info(
        "Allocation of this indent is not feasible.The reason could be that there are too many indents with "
        "constraints - as a result Tavrel does not have the opportunity to shuffle the timetable to make the "
        "allocation possible.");
    return none;
  }
  if (!prompter.ask(MessageKind::Information, constraintHelp(session, *indent, result.report))) return none;
  removeConstraint(session, *indent);
  return AllocateIndent(session, allocator, clock, serial);
}

AllocateIndentResult AllocateAfterAssistance(Session& session, IndentAllocator& allocator, const Clock& clock,
                                             int serial, bool clusterPermissionBefore) {
  AllocateIndentResult result = AllocateIndent(session, allocator, clock, serial);
  session.ClusterPermission = clusterPermissionBefore;
  return result;
}

}  // namespace tavrel::indents
