#include "core/indents/allocation_undo.h"

#include <algorithm>

namespace tavrel::indents {

using namespace store;

namespace {

constexpr const char* kUndone = "Allocation undone.";

}  // namespace

int releasePlacements(Session& session, const TAlloc& indent) {
  // Released from the class side: the class's cells lead to the resource's cells and to the cells
  // of the members of either group.
  const Owner owner{OwnerKind::Class, indent.ACLASS};
  Transaction tx(session.store());
  TTRecIProc(session, ReleaseMode::Erase, owner, indent.ASERIALNO);
  const int freed = TTRecInit(session, owner, indent.ASERIALNO, CountAs::Own);
  TTOptnInit(session, owner, indent.ASERIALNO);
  tx.commit();
  return freed;
}

bool hasPlacements(Session& session, const TAlloc& indent) {
  if (indent.ANOLECALL > 0) return true;
  bool held = false;
  session.store().table<TTtbl>().forEach(TTtbl::TIMESERL, {session.schoolCode(), indent.ASERIALNO},
                                         [&](const TTtbl& row) {
                                           if (row.TSUBJECT != 0 && row.TSUBJECT != 999) held = true;
                                         });
  return held;
}

UndoOutcome UndoAllocation(Session& session, int serial, Interaction interaction) {
  Store& store = session.store();
  const int school = session.schoolCode();
  auto indent = findIndent(session, serial);
  if (!indent || !hasPlacements(session, *indent)) return UndoOutcome::NothingPlaced;
  const bool interactive = interaction == Interaction::Interactive;
  if (interactive && isProxyIndent(store, school, serial) &&
      !session.prompter().ask(
          MessageKind::Information,
          "This is a proxy indent.Undoing Allocation will cancel the proxy status.Select Yes to "
          "undo.")) {
    return UndoOutcome::Declined;
  }
  Transaction tx(store);
  releasePlacements(session, *indent);
  store.table<TProxy>().removeRange(TProxy::primary, {school, serial});
  TAlloc undone = *findIndent(session, serial);
  undone.ANOLECALL = 0;
  store.table<TAlloc>().update(undone);
  tx.commit();
  session.flush(kFlushIndents);
  if (interactive) session.prompter().info(kUndone);
  return UndoOutcome::Undone;
}

bool UndoAllocationAll(Session& session, const std::vector<int>& activeSerials) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const bool proxies = std::any_of(activeSerials.begin(), activeSerials.end(),
                                   [&](int serial) { return isProxyIndent(store, school, serial); });
  if (proxies &&
      !session.prompter().ask(MessageKind::Information,
                              "Proxy indent(s) are present in the Active Grid. Undoing their allocation "
                              "will cancel their proxy status.Select Yes to undo all.")) {
    return false;
  }
  for (int serial : activeSerials) UndoAllocation(session, serial, Interaction::Silent);
  session.prompter().beep();
  session.prompter().info(kUndone);
  return true;
}

}  // namespace tavrel::indents
