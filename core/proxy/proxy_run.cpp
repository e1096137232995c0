#include "core/proxy/proxy_run.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <set>
#include <tuple>

#include "core/grid/availability_change.h"
#include "core/grid/period_release.h"
#include "core/indents/activation.h"
#include "core/indents/deactivation.h"
#include "core/indents/indent_facts.h"
#include "core/indents/priority_revision.h"
#include "core/indents/progress_scope.h"
#include "core/proxy/proxy_items.h"
#include "core/proxy/proxy_records.h"
#include "core/store/item_cascade.h"

namespace tavrel::proxy {

using namespace store;

namespace {

// A run of periods freed on one day: a single period, or a cluster block.
struct Block {
  int day = 0;
  int first = 0;
  int length = 0;
};

std::string numberList(int first, int length) {
  std::string list;
  for (int p = first; p < first + length; ++p) list += "," + std::to_string(p);
  return list;
}

std::string localTime(const Clock& clock, const char* format) {
  std::time_t t = std::chrono::system_clock::to_time_t(clock.wallNow());
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, format, &local);
  return buffer;
}

void addShare(std::vector<Share>& shares, int code, const std::string& name, int periods) {
  auto found = std::find_if(shares.begin(), shares.end(), [code](const Share& s) { return s.code == code; });
  if (found == shares.end()) {
    shares.push_back({code, name, periods});
  } else {
    found->periods += periods;
  }
}

// A cluster indent's count is its cluster size times its clusters per week; both follow the count.
void setCount(TAlloc& indent, int count) {
  indent.ANOOFLEC = count;
  if (indents::isCluster(indent)) indent.ACLUSWEEK = count / indent.AINCLUSOF;
}

class Run {
 public:
  Run(Session& session, engine::EnginePorts ports, const CellTable& cells,
      const std::vector<int>& substitutes, const ProxyOptions& options, ProxyRunListener* listener)
      : session_(session),
        store_(session.store()),
        school_(session.schoolCode()),
        ports_(ports),
        cells_(cells),
        kind_(cells.kind()),
        operation_(cells.operation()),
        substitutes_(operation_ == Operation::Proxy ? substitutes : std::vector<int>{cells.item()}),
        options_(options),
        listener_(listener) {
    for (const PlacedCell& placed : cells.periodCells())
      if (placed.cell.state == CellState::ToProxy) toProxy_.push_back(placed);
  }

  ProxyOutcome run() {
    if (refuseGroupPeriods()) {
      outcome_.refused = true;
      return outcome_;
    }
    outcome_.total = periodsToMove();
    {
      indents::ProgressScope shown(
          ports_.progress, operation_ == Operation::Proxy ? kAttemptingProxy : kUndoingProxy, outcome_.total);
      std::set<int> processed;
      for (const std::string& letter : letters()) {
        for (const PlacedCell& placed : toProxy_) {
          if (placed.cell.priority != letter || !processed.insert(placed.cell.serial).second) continue;
          if (stopRequested()) break;
          processIndent(placed.cell.serial, placed.cell.owner);
        }
        if (stop_) break;
      }
    }
    outcome_.stopped = stop_;
    outcome_.date = localTime(ports_.clock, "%Y-%m-%d");
    outcome_.time = localTime(ports_.clock, "%H:%M:%S");
    return outcome_;
  }

 private:
  // ---- Before the run ------------------------------------------------------------------------

  // The cells are read again: a period that became a group's since the table was built is refused
  // before anything changes.
  bool refuseGroupPeriods() {
    for (const auto& [day, period, cell] : toProxy_) {
      auto row = indents::slotRow(store_, school_, ownerKindOf(kind_), cell.owner, day, period);
      if (!row || row->TSUBJECT == 0 || row->TSUBJECT == 999) continue;
      auto indent = store_.table<TAlloc>().find(TAlloc::primary, {school_, row->TSERIAL});
      if (!indent || indentItem(*indent, kind_) == cell.owner) continue;
      session_.prompter().error(
          groupPeriodMessage(itemName(store_, school_, kind_, cell.owner),
                             itemName(store_, school_, kind_, indentItem(*indent, kind_))));
      return true;
    }
    return false;
  }

  // The periods the run will move: a ticked cell of a cluster brings its whole block.
  int periodsToMove() {
    std::set<std::tuple<int, int, int>> periods;  // owner, day, period
    for (const auto& [day, period, cell] : toProxy_) {
      for (int p : grid::allocationBlock(store_, school_, gridOwner(cell.owner), day, period))
        periods.insert({cell.owner, day, p});
    }
    return static_cast<int>(periods.size());
  }

  grid::GridOwner gridOwner(int code) const {
    return {kind_ == ItemKind::Class ? grid::GridKind::Class : grid::GridKind::Resource, code};
  }

  std::vector<std::string> letters() const {
    std::set<std::string> distinct;
    for (const PlacedCell& placed : toProxy_) distinct.insert(placed.cell.priority);
    return {distinct.begin(), distinct.end()};
  }

  bool stopRequested() {
    if (!stop_ && (ports_.progress.pump() || session_.cancelFlag)) noteStop();
    return stop_;
  }

  void noteStop() {
    if (stop_) return;
    stop_ = true;
    session_.prompter().info(kStopWait);
  }

  // ---- One indent ------------------------------------------------------------------------------

  void processIndent(int serial, int owner) {
    auto indent = indents::findIndent(session_, serial);
    if (!indent) return;
    std::vector<Block> blocks = freeCells(serial, owner);
    int remaining = 0;
    for (const Block& block : blocks) remaining += block.length;
    if (remaining == 0) return;
    resize(serial, -remaining);

    const TAlloc source = *indents::findIndent(session_, serial);
    int copy = newWorkingCopy(source);
    for (int substitute : substitutesFor(source)) {
      if (remaining == 0 || stopRequested()) break;
      const int taker = operation_ == Operation::Proxy ? substitute : owner;
      ports_.progress.text(attemptText(operation_, itemName(store_, school_, kind_, taker)));
      prepareCopy(source, copy, substitute, remaining);
      std::vector<Block> left = blocks;
      const int taken = allocate(copy, left);
      if (taken == 0 || !book(copy, taken)) continue;
      blocks = std::move(left);
      if (operation_ == Operation::Proxy) recordProxy(substitute, copy);
      addShare(outcome_.bySubstitute, taker, itemName(store_, school_, kind_, taker), taken);
      const int partner = indentPartner(source, kind_);
      addShare(outcome_.byPartner, partner, partnerName(store_, school_, kind_, partner), taken);
      remaining -= taken;
      outcome_.done += taken;
      ports_.progress.step(taken);
      if (listener_) {
        listener_->periodsDone(std::to_string(outcome_.done) + "/" + std::to_string(outcome_.total) +
                               " periods done");
      }
      copy = newWorkingCopy(source);
    }
    dropWorkingCopy(copy);

    if (remaining > 0) {
      restore(serial, remaining, blocks);
    } else {
      deleteIfEmptied(serial);
    }
  }

  // Frees the owner's cells to proxy that hold the serial, the way "Make Available" does it without
  // asking: the whole period everywhere it lives, a cluster's whole block.
  std::vector<Block> freeCells(int serial, int owner) {
    std::vector<Block> blocks;
    for (const auto& [day, period, cell] : toProxy_) {
      if (cell.serial != serial || cell.owner != owner) continue;
      auto row = indents::slotRow(store_, school_, ownerKindOf(kind_), owner, day, period);
      if (!row || row->TSERIAL != serial || row->TSUBJECT == 0 || row->TSUBJECT == 999) continue;
      const std::vector<int> block = grid::allocationBlock(store_, school_, gridOwner(owner), day, period);
      if (block.empty()) continue;
      if (grid::makeAvailable(session_, gridOwner(owner), day, period, grid::Confirmation::DoNotAsk) !=
          grid::ChangeOutcome::Changed)
        continue;
      blocks.push_back({day, block.front(), static_cast<int>(block.size())});
    }
    return blocks;
  }

  // Changes the indent's count by `change` and, for an active indent, the demand its class,
  // resource, subject and group members carry.
  void resize(int serial, int change) {
    TAlloc indent = *indents::findIndent(session_, serial);
    setCount(indent, indent.ANOOFLEC + change);
    Transaction tx(store_);
    store_.table<TAlloc>().update(indent);
    if (indents::isActive(indent)) {
      if (auto cls = store_.table<TClas>().find(TClas::CLASCODE, {school_, indent.ACLASS})) {
        cls->CLSREQLEC += change;
        store_.table<TClas>().update(*cls);
      }
      if (auto resource = store_.table<TTeac>().find(TTeac::TEACCODE, {school_, indent.ATEACHER})) {
        resource->TCHREQLEC += change;
        store_.table<TTeac>().update(*resource);
      }
      upd_mlt_ind(session_, std::abs(change), change < 0 ? CountChange::Subtract : CountChange::Add,
                  GroupSide::Both, indent.ACLASS, indent.ATEACHER);
      if (auto link = store_.table<TSctl>().find(TSctl::primary, {school_, indent.ASUBJECT})) {
        link->SCTREQLEC += change;
        store_.table<TSctl>().update(*link);
      }
    }
    tx.commit();
    for (int code : {kFlushIndents, kFlushClasses, kFlushResources, kFlushSchoolSubjects})
      session_.flush(code);
  }

  // ---- Working copies --------------------------------------------------------------------------

  // A passive copy of the indent under the school's next serial. It becomes active only when it
  // has taken periods, through activation, which counts its demand.
  int newWorkingCopy(const TAlloc& source) {
    Transaction tx(store_);
    TSchl school = *store_.table<TSchl>().find(TSchl::SCLCODE, {school_});
    school.SALLSERIAL += 1;
    store_.table<TSchl>().update(school);
    TAlloc copy = source;
    copy.rowid = 0;
    copy.ASERIALNO = school.SALLSERIAL;
    copy.AACTIVE.assign(1, 'N');  // (a literal trips a false -Wrestrict of GCC 12)
    copy.ANOLECALL = 0;
    store_.table<TAlloc>().insert(copy);
    tx.commit();
    session_.flush(kFlushIndents);
    session_.flush(kFlushSchools);
    return copy.ASERIALNO;
  }

  // The last copy took nothing: it goes, and its serial is given back.
  void dropWorkingCopy(int serial) {
    Transaction tx(store_);
    if (auto copy = store_.table<TAlloc>().find(TAlloc::primary, {school_, serial}))
      store_.table<TAlloc>().remove(*copy);
    TSchl school = *store_.table<TSchl>().find(TSchl::SCLCODE, {school_});
    if (school.SALLSERIAL == serial) {
      school.SALLSERIAL -= 1;
      store_.table<TSchl>().update(school);
    }
    tx.commit();
    session_.flush(kFlushIndents);
    session_.flush(kFlushSchools);
  }

  void prepareCopy(const TAlloc& source, int serial, int substitute, int periods) {
    TAlloc copy = *indents::findIndent(session_, serial);
    setIndentItem(copy, kind_, substitute);
    setCount(copy, periods);
    copy.ANOLECALL = 0;
    Transaction tx(store_);
    store_.table<TAlloc>().update(copy);
    carryLimits(source, copy);
    tx.commit();
    session_.flush(kFlushIndents);
    session_.flush(kFlushResourceLimits);
    session_.flush(kFlushSubjectLimits);
  }

  // The substitute takes the periods under the per-day limits that held them: its class's limits
  // for the subject and the resource are raised to those of the indent's own class and resource.
  // A missing limit would otherwise leave the placement unlimited, and activation would then set
  // one from the count alone, below what was placed on a day.
  void carryLimits(const TAlloc& source, const TAlloc& copy) {
    for (LimitKind kind : {LimitKind::Subject, LimitKind::Resource}) {
      const int from = kind == LimitKind::Subject ? source.ASUBJECT : source.ATEACHER;
      const int to = kind == LimitKind::Subject ? copy.ASUBJECT : copy.ATEACHER;
      const std::optional<int> held = indents::classLimit(store_, school_, kind, source.ACLASS, from);
      if (!held) continue;
      const std::optional<int> own = indents::classLimit(store_, school_, kind, copy.ACLASS, to);
      if (!own || *own < *held) indents::setClassLimit(store_, school_, kind, copy.ACLASS, to, *held);
    }
  }

  // The ticked substitutes in order; with the same-subject option only those that engage the
  // indent's subject. The absent item never stands in for itself.
  std::vector<int> substitutesFor(const TAlloc& indent) {
    if (operation_ != Operation::Proxy) return substitutes_;
    std::vector<int> kept;
    for (int substitute : substitutes_) {
      if (substitute == cells_.item()) continue;
      if (options_.sameSubject && !engagesSubject(store_, school_, kind_, substitute, indent.ASUBJECT))
        continue;
      kept.push_back(substitute);
    }
    return kept;
  }

  // The copy keeps what it took, as a newly activated indent. Should activation refuse it (no
  // one-per-day subject variant left), its periods are released again and it took nothing.
  bool book(int serial, int taken) {
    TAlloc copy = *indents::findIndent(session_, serial);
    setCount(copy, taken);
    {
      Transaction tx(store_);
      store_.table<TAlloc>().update(copy);
      tx.commit();
    }
    if (indents::AddActvProc(session_, serial, indents::Interaction::Silent)) return true;
    indents::DelActvProc(session_, serial, indents::AfterDeactivation::KeepRow);
    return false;
  }

  void recordProxy(int substitute, int serial) {
    Transaction tx(store_);
    appendProxyRecord(store_, school_, kind_, cells_.item(), substitute, serial, ports_.clock.todayIso());
    tx.commit();
    session_.flush(kFlushProxies);
  }

  // ---- Allocation ------------------------------------------------------------------------------

  int allocate(int serial, std::vector<Block>& blocks) {
    return options_.samePeriod ? allocateAtBlocks(serial, blocks) : allocateWhole(serial);
  }

  engine::IndentAllocation allocateOnce(int serial) {
    engine::IndentAllocation result = engine::allocateIndent(
        session_, ports_, serial,
        {.seed = options_.seed, .rearrangeLimit = options_.rearrangeLimit, .rearrange = options_.shuffle});
    if (result.stopped) noteStop();
    return result;
  }

  int allocateWhole(int serial) { return allocateOnce(serial).gained; }

  // Block by block at the freed cells: for each block the indent asks for that block's periods more
  // and may use only its day and periods. A block that got placed is dropped from the list. The
  // indent's lists and count are put back afterwards.
  int allocateAtBlocks(int serial, std::vector<Block>& blocks) {
    const TAlloc saved = *indents::findIndent(session_, serial);
    int gained = 0;
    for (auto block = blocks.begin(); block != blocks.end();) {
      TAlloc indent = *indents::findIndent(session_, serial);
      indent.ALISTDAY = "," + std::to_string(block->day);
      indent.ALISTLEC = numberList(block->first, block->length);
      indent.ANOOFLEC = indent.ANOLECALL + block->length;
      writeIndent(indent);
      const int placed = allocateOnce(serial).gained;
      gained += placed;
      block = placed >= block->length ? blocks.erase(block) : block + 1;
    }
    TAlloc indent = *indents::findIndent(session_, serial);
    indent.ALISTDAY = saved.ALISTDAY;
    indent.ALISTLEC = saved.ALISTLEC;
    indent.ANOOFLEC = saved.ANOOFLEC;
    writeIndent(indent);
    return gained;
  }

  void writeIndent(const TAlloc& indent) {
    Transaction tx(store_);
    store_.table<TAlloc>().update(indent);
    tx.commit();
    session_.flush(kFlushIndents);
  }

  // ---- After the substitutes -------------------------------------------------------------------

  // What no substitute took goes back to the indent, which is allocated again.
  void restore(int serial, int remaining, std::vector<Block>& blocks) {
    resize(serial, remaining);
    const int placed = allocate(serial, blocks);
    outcome_.failedRestoration += std::max(0, remaining - placed);
  }

  // An indent whose every period went to substitutes goes, with its proxy record. The per-day limits
  // of its class stay: the periods its copies carry still count against them.
  void deleteIfEmptied(int serial) {
    auto indent = indents::findIndent(session_, serial);
    if (!indent || indent->ANOOFLEC != 0 || indent->ANOLECALL != 0) return;
    Transaction tx(store_);
    store_.table<TProxy>().removeRange(TProxy::primary, {school_, serial});
    store_.table<TAlloc>().remove(*indent);
    tx.commit();
    session_.flush(kFlushIndents);
    session_.flush(kFlushProxies);
    if (indent->APRIORITY == "A" || indent->APRIORITY == "B") indents::chkrest_prior_main(session_, *indent);
  }

  Session& session_;
  Store& store_;
  int school_;
  engine::EnginePorts ports_;
  const CellTable& cells_;
  std::vector<PlacedCell> toProxy_;  // in cell order
  ItemKind kind_;
  Operation operation_;
  std::vector<int> substitutes_;
  ProxyOptions options_;
  ProxyRunListener* listener_;
  ProxyOutcome outcome_;
  bool stop_ = false;
};

}  // namespace

std::string attemptText(Operation operation, const std::string& name) {
  return std::string(operation == Operation::Proxy ? "Attempting Proxy" : "Undoing Proxy") + " (" + name +
         ")...";
}

ProxyOutcome runProxy(Session& session, engine::EnginePorts ports, const CellTable& cells,
                      const std::vector<int>& substitutes, const ProxyOptions& options,
                      ProxyRunListener* listener) {
  return Run(session, ports, cells, substitutes, options, listener).run();
}

}  // namespace tavrel::proxy
