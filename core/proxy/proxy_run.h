// The proxy run ("&Allocate Proxy" / "&Undo Proxy"). Indent by indent, in the order of their
// priority letters, the periods of the cells to proxy are freed, taken out of their indent, and
// offered to the substitutes in the order they were ticked: each substitute gets a new indent (a
// copy of the indent with the substitute in place of the absent item) and takes what the
// single-indent allocation can place for it, at the same day and period when asked. Each new indent
// of a proxy is recorded in `TProxy`. What no substitute takes goes back to its indent and is
// allocated there again; what cannot be placed even there is reported as failed restoration.
//
// Undo Proxy runs the same steps with the roles turned round: the cells are those of the
// substitutes' proxy indents, and the only substitute is the absent item itself, taking its periods
// back into a new indent of its own. An emptied proxy indent goes with its record.
//
// Stop is the Progress port's `pump()` answering true, or the session's cancel flag; the run then
// finishes the indent in hand (its leftover periods go back to it) and ends.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/allocation_run.h"
#include "core/proxy/cell_table.h"

namespace tavrel::proxy {

inline constexpr const char* kAttemptingProxy = "Attempting Proxy...";
inline constexpr const char* kUndoingProxy = "Undoing Proxy...";
inline constexpr const char* kStopWait = "Please wait. Proxy allocation will stop in a while.";

struct ProxyOptions {
  bool shuffle = true;  // "Shuffle the timetable, if necessary"
  bool sameSubject =
      false;  // "Ensure that the Resource (Class) engages and is compatible with the same subject"
  bool samePeriod = true;  // "Proxy at the same period and day" / "Restore at the same period and day"
  std::optional<std::uint64_t> seed;  // of every allocation of the run; empty: from the clock
  std::chrono::steady_clock::duration rearrangeLimit = std::chrono::minutes(3);
};

// Periods per item, for the charts of the Results window.
struct Share {
  int code = 0;
  std::string name;
  int periods = 0;

  bool operator==(const Share&) const = default;
};

struct ProxyOutcome {
  bool refused = false;  // a cell to proxy was a group's period in a member's week; nothing changed
  bool stopped = false;
  // Periods to proxy when the run started: the cells to proxy, with the whole block of a cluster
  // one of whose cells is ticked (the whole block moves).
  int total = 0;
  int done = 0;
  int failedRestoration = 0;
  std::vector<Share> bySubstitute;  // "Proxied By", in the order first met
  std::vector<Share> byPartner;     // "Proxied To": classes of a resource proxy, resources of a class proxy
  std::string date;                 // when the run ended, for the titles of the Results
  std::string time;
};

// The running texts of the run window besides the progress bar's.
class ProxyRunListener {
 public:
  virtual ~ProxyRunListener() = default;
  virtual void periodsDone(std::string_view) {}  // "<done>/<total> periods done"
};

// "Attempting Proxy (<substitute>)..." or "Undoing Proxy (<owner>)...".
std::string attemptText(Operation operation, const std::string& name);

// Runs over the cells to proxy of `cells`. `substitutes` are the ticked items in priority order
// (ignored for Undo Proxy).
ProxyOutcome runProxy(store::Session& session, engine::EnginePorts ports, const CellTable& cells,
                      const std::vector<int>& substitutes, const ProxyOptions& options = {},
                      ProxyRunListener* listener = nullptr);

}  // namespace tavrel::proxy
