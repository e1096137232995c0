// A school as the school view shows it: two classes and their group, two resources and their
// group, a plain class and resource, three subjects (one that no indent uses), active indents
// with placed periods and a passive indent.
//
//   class   indented / allocated      resource  indented / allocated
//   7A      2 / 1 (ART, ADAMS)        ADAMS     2 / 1
//   7B      0 / 0                     BAKER     0 / 0
//   7AB     2 / 2 (MATHS, CLARK)      TEAM      3 / 2 (ADAMS + BAKER)
//   8A      3 / 2 (MATHS, TEAM)       CLARK     2 / 2, and a passive indent with 8A
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/audit.h"
#include "core/setup/item_grid.h"
#include "core/store/default_constraint.h"
#include "tests/support/school_fixture.h"

namespace tavrel::setup {

struct SchoolViewSchool {
  testing::SchoolFixture f;
  // The test's writes stay in a transaction that is never committed: nothing waits for the disk.
  store::Transaction outer{f.store()};
  store::Transaction inner{f.store()};
  int c7a = f.addClass("7A");
  int c7b = f.addClass("7B");
  int c7ab = f.addClass("7AB", {c7a, c7b});
  int c8a = f.addClass("8A");
  int adams = f.addResource("ADAMS");
  int baker = f.addResource("BAKER");
  int team = f.addResource("TEAM", {adams, baker});
  int clark = f.addResource("CLARK");
  int maths = f.addSubject("MATHS");
  int art = f.addSubject("ART");
  int music = f.addSubject("MUSIC");
  int artOf7a = f.addIndent({.cls = c7a, .resource = adams, .subject = art, .periods = 2});
  int mathsOf7ab = f.addIndent({.cls = c7ab, .resource = clark, .subject = maths, .periods = 2});
  int mathsOf8a = f.addIndent({.cls = c8a, .resource = team, .subject = maths, .periods = 3});
  int passive = f.addIndent({.cls = c8a, .resource = clark, .subject = art, .periods = 1, .active = false});

  SchoolViewSchool() {
    // The indents take the school's default constraint, as a new indent does.
    for (int serial : {artOf7a, mathsOf7ab, mathsOf8a, passive}) {
      store::TAlloc indent = f.indent(serial);
      store::AsgnDefault(indent, store::qry_init(f.session().school()->SWRKDAYS));
      f.store().table<store::TAlloc>().update(indent);
    }
    f.place(artOf7a, 1, 2);
    f.place(mathsOf7ab, 1, 1);
    f.place(mathsOf7ab, 2, 1);
    f.place(mathsOf8a, 3, 1);
    f.place(mathsOf8a, 4, 1);
  }

  ItemGrid loaded(GridKind kind) {
    ItemGrid grid(kind);
    grid.load(f.session());
    return grid;
  }

  void choose(char list, store::StatusChoice status) {
    f.session().set_gb_f(1, list, static_cast<int>(status));
  }

  std::vector<std::string> classNames() {
    std::vector<std::string> names;
    for (const store::TClas& row : f.store().table<store::TClas>().range(store::TClas::CLASCODE, {1}))
      names.push_back(row.CLSNAME);
    return names;
  }

  std::vector<std::string> resourceNames() {
    std::vector<std::string> names;
    for (const store::TTeac& row : f.store().table<store::TTeac>().range(store::TTeac::TEACCODE, {1}))
      names.push_back(row.TCHNAME);
    return names;
  }

  // Every member row names a group and a member that exist.
  void expectMemberRowsNameLiveItems() {
    auto exists = [&](const std::string& type, int code) {
      return type == "C" ? f.store().table<store::TClas>().find(store::TClas::CLASCODE, {1, code}).has_value()
                         : f.store().table<store::TTeac>().find(store::TTeac::TEACCODE, {1, code}).has_value();
    };
    for (const store::TOptn& row : f.store().table<store::TOptn>().range(store::TOptn::primary, {1})) {
      EXPECT_TRUE(exists(row.OPTYPE, row.OPMAINCODE)) << row.OPTYPE << " group " << row.OPMAINCODE;
      EXPECT_TRUE(exists(row.OPTYPE, row.OPSUBCODE))
          << row.OPTYPE << " group " << row.OPMAINCODE << " names gone member " << row.OPSUBCODE;
    }
  }

  void expectAuditPasses() {
    const engine::AuditReport report = engine::check(f.store(), 1);
    EXPECT_TRUE(report.passed()) << ::testing::PrintToString(report.texts());
  }
};

}  // namespace tavrel::setup
