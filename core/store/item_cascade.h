// What goes with the active indents of a class, resource or subject when their allocations are
// erased or the indents deleted, and the required-through-group counters of group members.
#pragma once

#include "core/store/cell_release.h"
#include "core/store/session.h"

namespace tavrel::store {

// `ItmDel`: processes every active indent of the item `code` of the session's view kind ("C"
// class, "T" resource, "S" subject), in priority order: its cells are released (partner side,
// own cells, group members' cells, every counter) and then
//   Erase:  its allocated count becomes 0; in class and resource view the indent's count leaves
//           the required-through-group counters of the item's group members.
//   Delete: its count leaves the requirement counters of its class, resource and subject and of
//           the members of its group class and group resource; its per-day limit records of the
//           item's view (class: both; subject: the subject's; resource: the resource's), its proxy
//           record and the indent itself are deleted.
// In class and resource view the item's member list and the proxies made for it go as well. The
// item itself, its passive indents and its timetable rows stay; the caller deletes what it needs.
void ItmDel(Session& session, ReleaseMode mode, int code);

// `OptnDel`: deletes the member list of the class (class view) or resource (resource view) `code`.
void OptnDel(Session& session, int code);

// `ProxyDel`: deletes the proxy records made for the class or resource `code` as the absent one.
void ProxyDel(Session& session, int code);

enum class GroupSide { Class, Resource, Both };  // "C", "T", "B"
enum class CountChange { Add, Subtract };        // "A", "S"

// `upd_mlt_ind`: adds `n` to (subtracts it from) the required-through-group counter of every
// member of the class `classCode` (side Class or Both) and of the resource `resourceCode` (side
// Resource or Both), for whichever of them is a group.
void upd_mlt_ind(Session& session, int n, CountChange change, GroupSide side, int classCode,
                 int resourceCode);

}  // namespace tavrel::store
