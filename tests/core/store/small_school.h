// A small school whose data add up, for the tests of the release and cascade routines.
#pragma once

#include <vector>

#include "core/store/store.h"
#include "tests/support/school_fixture.h"

namespace tavrel::store {

// Two plain classes and their group, a class outside it; two resources and their group, a resource
// outside it. Indents between groups, between a group and a plain item and between plain items,
// one of them a cluster, all placed; and a passive indent.
struct SmallSchool {
  testing::SchoolFixture f;
  int c1, c2, group, c3;
  int r1, r2, team, r3;
  int maths, art;
  int groupWithTeam, c1WithR3, c3WithR1, groupWithR3, c3WithTeam, passive;

  SmallSchool() {
    Transaction tx(f.store());
    c1 = f.addClass("1A");
    c2 = f.addClass("1B");
    group = f.addClass("1A+1B", {c1, c2});
    c3 = f.addClass("2A");
    r1 = f.addResource("ADAMS");
    r2 = f.addResource("BAKER");
    team = f.addResource("LAB TEAM", {r1, r2});
    r3 = f.addResource("CLARK");
    maths = f.addSubject("Maths");
    art = f.addSubject("Art");
    groupWithTeam = f.addIndent({.cls = group, .resource = team, .subject = maths, .periods = 3});
    c1WithR3 = f.addIndent({.cls = c1, .resource = r3, .subject = art, .periods = 2});
    c3WithR1 = f.addIndent({.cls = c3, .resource = r1, .subject = maths, .periods = 2});
    groupWithR3 = f.addIndent({.cls = group, .resource = r3, .subject = art, .periods = 1});
    c3WithTeam = f.addIndent({.cls = c3, .resource = team, .subject = art, .periods = 2, .clusterOf = 2});
    passive = f.addIndent({.cls = c1, .resource = r1, .subject = maths, .periods = 2, .active = false});
    f.place(groupWithTeam, 1, 1);
    f.place(groupWithTeam, 2, 3);
    f.place(groupWithTeam, 3, 5);
    f.place(c1WithR3, 1, 2);
    f.place(c1WithR3, 4, 1);
    f.place(c3WithR1, 2, 1);
    f.place(c3WithR1, 5, 5);
    f.place(groupWithR3, 5, 2);
    f.place(c3WithTeam, 3, 1);  // the block of periods 1 and 2
    tx.commit();
  }

  std::vector<int> serials() const {
    return {groupWithTeam, c1WithR3, c3WithR1, groupWithR3, c3WithTeam, passive};
  }
};

}  // namespace tavrel::store
