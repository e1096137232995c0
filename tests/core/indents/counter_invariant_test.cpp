// The counters of classes, resources and subject links are kept up to date step by step by every
// indent operation. Whatever sequence of operations a person runs, they must stay equal to what
// the indents and the timetable say (`recountCounters`). This test runs long random sequences of
// the operations, with periods placed where the engine would place them, on a small school with
// overlapping groups, and checks the recount after every single operation.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

#include "core/indents/activation.h"
#include "core/indents/active_grid_statistics.h"
#include "core/indents/allocation_undo.h"
#include "core/indents/bulk_deletion.h"
#include "core/indents/bulk_state_change.h"
#include "core/indents/deactivation.h"
#include "core/indents/field_checks.h"
#include "core/indents/school_availability.h"
#include "core/indents/single_allocation.h"
#include "core/indents/statistics_repair.h"
#include "core/indents/timetable_undo.h"
#include "core/store/counter_recount.h"
#include "tests/core/indents/indent_school.h"
#include "tests/core/indents/test_allocator.h"

namespace tavrel::indents {
namespace {

using store::TAlloc;
using testing::SchoolFixture;

// Answers every question at random and lets every message through.
class RandomPrompter final : public Prompter {
 public:
  explicit RandomPrompter(std::mt19937& rng) : rng_(rng) {}
  void show(MessageKind, std::string_view) override {}
  bool ask(MessageKind, std::string_view) override { return std::bernoulli_distribution(0.7)(rng_); }
  void beep() override {}

 private:
  std::mt19937& rng_;
};

class RandomRun {
 public:
  explicit RandomRun(unsigned seed)
      : rng_(seed), prompter_(rng_), session_(f_.store(), prompter_), engine_(f_) {
    session_.setSchool(1);
    const int a = f_.addClass("1A");
    const int b = f_.addClass("1B");
    const int c = f_.addClass("2A");
    classes_ = {a, b, c, f_.addClass("1A+1B", {a, b}), f_.addClass("1B+2A", {b, c})};
    const int r1 = f_.addResource("ADAMS");
    const int r2 = f_.addResource("BAKER");
    resources_ = {r1, r2, f_.addResource("CLARK"), f_.addResource("TEAM", {r1, r2})};
    subjects_ = {f_.addSubject("Maths"), f_.addSubject("Art"), f_.addSubject("Music")};
  }

  // Runs the operations; stops at the first one after which the counters do not add up.
  void run(int operations) {
    for (int i = 0; i < operations; ++i) {
      const std::string done = step();
      const store::RecountReport report = store::recountCounters(f_.store(), 1);
      if (!report.clean()) {
        ADD_FAILURE() << "after operation " << i << " (" << done << "):\n"
                      << ::testing::PrintToString(report.findings());
        return;
      }
    }
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  template <class T>
  T pickFrom(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(pick(static_cast<int>(items.size())))];
  }
  bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
  Interaction mode() { return chance(0.5) ? Interaction::Interactive : Interaction::Silent; }

  std::vector<int> indents(const char* active) {
    std::vector<int> serials;
    for (const TAlloc& row : f_.store().table<TAlloc>().range(TAlloc::primary, {1})) {
      if (!active || row.AACTIVE == active) serials.push_back(row.ASERIALNO);
    }
    return serials;
  }

  std::string list(int most) {
    std::string text;
    for (int n = 1; n <= most; ++n) {
      if (chance(0.6)) text += "," + std::to_string(n);
    }
    return text.empty() ? ",1" : text;
  }

  void fill(TAlloc& row) {
    row.ACLASS = chance(0.05) ? 0 : pickFrom(classes_);
    row.ATEACHER = chance(0.05) ? 0 : pickFrom(resources_);
    row.ASUBJECT = pickFrom(subjects_);
    if (chance(0.3)) {
      row.AINCLUSOF = 2 + pick(2);
      row.ACLUSWEEK = 1 + pick(2);
    } else {
      row.AINCLUSOF = 0;
      row.ACLUSWEEK = 0;
      row.ANOOFLEC = pick(8);
    }
    row.ARECESS = chance(0.3) ? "N" : "Y";
    if (chance(0.25)) {
      row.AQUERY = "(random constraint)";
      row.ALISTDAY = list(5);
      row.ALISTLEC = list(6);
    }
  }

  std::string create() {
    const IndentView view{"CTS"[pick(3)], 0};
    IndentView viewed = view;
    viewed.code = view.kind == 'C'   ? pickFrom(classes_)
                  : view.kind == 'T' ? pickFrom(resources_)
                                     : pickFrom(subjects_);
    const std::vector<int> existing = indents(nullptr);
    std::optional<TAlloc> current;
    if (!existing.empty() && chance(0.5)) current = f_.indent(pickFrom(existing));
    const DuplicateOptions options{chance(0.5), chance(0.5), chance(0.5),
                                   chance(0.5), chance(0.5), chance(0.5)};
    const int serial = AppndTAlloc(session_, viewed, chance(0.3) ? IndentKind::Cluster : IndentKind::Regular,
                                   options, current);
    TAlloc row = f_.indent(serial);
    if (chance(0.8)) fill(row);
    RecPost(session_, row);
    return "create " + std::to_string(serial);
  }

  std::string edit(int serial) {
    TAlloc row = f_.indent(serial);
    fill(row);
    RecPost(session_, row);
    return "edit " + std::to_string(serial);
  }

  std::string place(int serial) {
    const int placed = placeMissing(f_, serial, 1 + pick(3));
    return "place " + std::to_string(placed) + " of " + std::to_string(serial);
  }

  std::string limit(int serial) {
    const store::LimitKind kind = chance(0.5) ? store::LimitKind::Subject : store::LimitKind::Resource;
    checkClassDayLimit(session_, kind, serial, std::to_string(pick(8)), 1);
    return "limit of " + std::to_string(serial);
  }

  std::string step() {
    const std::vector<int> passive = indents("N");
    const std::vector<int> active = indents("Y");
    const std::vector<int> all = indents(nullptr);
    const int choice = pick(100);
    if (choice < 15 || all.empty()) return create();
    if (choice < 22 && !passive.empty()) return edit(pickFrom(passive));
    if (choice < 40 && !passive.empty()) {
      const int serial = pickFrom(passive);
      MakeActv(session_, serial, mode());
      return "activate " + std::to_string(serial);
    }
    if (choice < 60 && !active.empty()) return place(pickFrom(active));
    if (choice < 65 && !active.empty()) {
      const int serial = pickFrom(active);
      MakeAlloc(session_, engine_, serial);
      return "allocate " + std::to_string(serial);
    }
    if (choice < 71 && !active.empty()) {
      const int serial = pickFrom(active);
      MakePsv(session_, serial, mode());
      return "deactivate " + std::to_string(serial);
    }
    if (choice < 76) {
      const int serial = pickFrom(all);
      deleteIndent(session_, serial);
      return "delete " + std::to_string(serial);
    }
    if (choice < 81 && !active.empty()) {
      const int serial = pickFrom(active);
      UndoAllocation(session_, serial, mode());
      return "undo " + std::to_string(serial);
    }
    if (choice < 84 && !active.empty()) return limit(pickFrom(active));
    if (choice < 86) {
      ActivateAll(session_, passive);
      return "activate all";
    }
    if (choice < 88) {
      PassiveAll(session_, active);
      return "passive all";
    }
    if (choice < 90) {
      UndoAllocationAll(session_, active);
      return "undo all";
    }
    if (choice < 91) {
      DeleteAllPassive(session_, passive);
      return "delete all passive";
    }
    if (choice < 92) {
      DeleteAllActive(session_, active);
      return "delete all active";
    }
    if (choice < 93 && !active.empty()) {
      const int serial = pickFrom(active);
      markProxy(f_, serial);
      return "proxy " + std::to_string(serial);
    }
    return bulk();
  }

  IndentScope scope() {
    switch (pick(4)) {
      case 0:
        return IndentScope::school();
      case 1:
        return IndentScope::ofClass(pickFrom(classes_));
      case 2:
        return IndentScope::ofResource(pickFrom(resources_));
      default:
        return IndentScope::ofSubject(pickFrom(subjects_));
    }
  }

  // The commands of the institution and school views.
  std::string bulk() {
    const BulkCaller caller = chance(0.5) ? BulkCaller::Person : BulkCaller::ApplyAvailability;
    switch (pick(13)) {
      case 12: {
        const char view = "CTS"[pick(3)];
        const int code = view == 'C'   ? pickFrom(classes_)
                         : view == 'T' ? pickFrom(resources_)
                                       : pickFrom(subjects_);
        activeGridStatistics(session_, view, code, "");
        return std::string("statistics of ") + view + std::to_string(code);
      }
      case 11:
        statisticsRepair(session_, progress_, engine_);
        return "statistics repair";
      case 10: {
        // The school's own availability changes (its setup window), to be applied later.
        const int day = 1 + pick(5);
        const int period = 1 + pick(6);
        store::TTtbl row = f_.cell('L', 1, day, period);
        row.TSUBJECT = row.TCLASS = row.TTEACHER = row.TSUBJECT == 0 ? 999 : 0;
        f_.store().table<store::TTtbl>().update(row);
        return "school slot " + std::to_string(day) + "/" + std::to_string(period);
      }
      case 0:
        ZapTTProc(session_, progress_);
        return "undo the timetable";
      case 1:
        if (chance(0.2)) Zap1Click(session_, progress_);
        return "delete all indents";
      case 2:
        ZapA1Click(session_, progress_);
        return "delete active indents";
      case 3:
        ZapP1Click(session_, progress_, scope());
        return "delete passive indents";
      case 4:
        MakeActive1Click(session_, progress_, scope(), caller);
        return "make passive indents active";
      case 5:
        MakePassive1Click(session_, progress_, scope(),
                          chance(0.7) ? PassiveMode::MakePassive : PassiveMode::Delete, caller);
        return "make active indents passive";
      case 6:
        undoItemAllocations(session_, scope(), caller);
        return "undo an item's allocations";
      case 7:
        ApplyAvailProc(session_, progress_, static_cast<AvailabilityTarget>(pick(3)));
        return "apply the school availability";
      default: {
        const bool cls = chance(0.5);
        const int code = cls ? pickFrom(classes_) : pickFrom(resources_);
        applySchoolAvailabilityToItem(session_, progress_,
                                      cls ? store::OwnerKind::Class : store::OwnerKind::Resource, code);
        return "apply the school availability to " + std::to_string(code);
      }
    }
  }

  SchoolFixture f_{{.swrkdays = 506}};
  Uncommitted scratch_{f_.store()};
  std::mt19937 rng_;
  RandomPrompter prompter_;
  store::Session session_;
  FixtureAllocator engine_;
  SilentProgress progress_;
  std::vector<int> classes_, resources_, subjects_;
};

TEST(CounterInvariant, EveryOperationKeepsTheCountersEqualToTheRecount) {
  for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
    SCOPED_TRACE(seed);
    RandomRun(seed).run(300);
  }
}

}  // namespace
}  // namespace tavrel::indents
