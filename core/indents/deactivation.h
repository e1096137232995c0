// Deactivation and deletion. An active indent that leaves the allocation gives back everything
// activation recorded: its placed periods, its demand on its class, resource, subject and group
// members, and its share of the class's per-day limits, which fall to what the remaining active
// indents need. Indents promoted to B because of it get their own letters again. A deleted active
// indent is deactivated first.
#pragma once

#include <vector>

#include "core/indents/indent_facts.h"

namespace tavrel::indents {

enum class AfterDeactivation { KeepRow, DeleteRow };

// `DelActvProc`: makes the indent passive with nothing placed, or deletes it. An indent that was
// not active has nothing counted to give back; its row is only deleted when asked.
void DelActvProc(store::Session& session, int serial, AfterDeactivation after);

// `MakePsv`: makes one active indent passive. Interactive: a proxy indent asks first; false when
// the answer was No.
bool MakePsv(store::Session& session, int serial, Interaction interaction);

// "Passi&ve All" over the active grid's indents; false when the proxy question was answered No.
bool PassiveAll(store::Session& session, const std::vector<int>& activeSerials);

// "&Delete" of either grid: a passive indent's row goes; an active one is deactivated and deleted.
void deleteIndent(store::Session& session, int serial);

// "D&elete All" of the passive or the active grid, after its question; false on No.
bool DeleteAllPassive(store::Session& session, const std::vector<int>& passiveSerials);
bool DeleteAllActive(store::Session& session, const std::vector<int>& activeSerials);

}  // namespace tavrel::indents
