// "Allocate Select": adds to the existing timetable, in table mode, the incomplete active indents
// of the classes, resources or subjects the person tags, of the categories the person tags. Every
// allocation already made stays.
//
// The window's three steps map to this object: the items step reads `items()` and ends with
// `tagItems()`, which writes the tagged items to the item selection table (`TRPCode`); the
// categories step ends with `tagCategories()`; the options step ends with `allocate()`. The run
// walks the selection table in its key order, and for each item the tagged categories' priority
// letters in category order, and in each (item, letter) range the indents in serial order,
// allocating each incomplete one as the indent window does (`allocateIndent`). Stop is the
// Progress port's `pump()` answering true; what was allocated stays.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/allocation_options.h"
#include "core/engine/allocation_run.h"
#include "core/store/session.h"

namespace tavrel::engine {

// "ListBox Item": which list the items come from.
enum class SelectList { Class, Resource, Subject };

struct SelectItem {
  int code = 0;
  std::string name;
  int incomplete = 0;  // required periods less allocated periods ("Incomplete periods")
};

// The categories in the order of the category list, and the priority letters each stands for.
const std::vector<std::string>& selectCategories();
// "Consists of priorities (View only):" of a category: its letters separated by commas ("A,B").
std::string categoryLetters(std::string_view category);

// The run's labels, as the fourth panel shows them.
struct SelectLabels {
  std::string current;    // "Allocating <item name>, <category>..."
  std::string allocated;  // "<allocated>/<tagged> periods allocated"
  std::string failed;     // "<failed> periods failed allocation"
  std::string processed;  // "<allocated + failed> periods processed"
};

class SelectListener {
 public:
  virtual ~SelectListener() = default;
  virtual void labels(const SelectLabels&) {}
};

struct SelectSettings {
  std::optional<std::uint64_t> seed;  // empty: from the clock; indent k of the run draws with seed + k
  std::chrono::steady_clock::duration rearrangeLimit = std::chrono::minutes(3);  // per pass
  SelectListener* listener = nullptr;
};

enum class SelectEnd {
  Done,     // every tagged indent was processed; the message was shown
  Stopped,  // stopped after an indent; the message was shown, what was allocated stays
  Review,   // the continuity question was answered Yes: back to the options, nothing ran
  Refused,  // nothing tagged (the message was shown) or no current school
};

struct SelectOutcome {
  SelectEnd end = SelectEnd::Refused;
  int allocated = 0;
  int failed = 0;
  int tagged = 0;       // the "Tagged:" count: incomplete periods of the tagged items
  int indents = 0;      // indents processed
  std::string elapsed;  // "<h>:<m>:<s>"
  std::uint64_t seed = 0;
};

class AllocateSelect {
 public:
  AllocateSelect(store::Session& session, EnginePorts ports, SelectSettings settings = {});

  // Step 1: the school's classes, resources or subjects in list order (classes and resources
  // through the current filter of the main lists; subjects the school uses), with their
  // incomplete periods. The "All:" count is the sum over these.
  std::vector<SelectItem> items(SelectList list) const;

  // "&Next" of step 1: the selection table holds exactly the tagged items. With none tagged the
  // error is shown and the step stays.
  bool tagItems(SelectList list, const std::vector<SelectItem>& tagged);
  // "&Next" of step 2: the tagged categories' priority letters, in category order. With none
  // tagged the error is shown and the step stays.
  bool tagCategories(const std::vector<std::string>& categories);

  // "&Allocate" with the options of step 3, which are posted first (`saveAllocationOptions`).
  SelectOutcome allocate(const AllocationOptions& options);

  // True while the rearrangement works for an indent (the Stop button then asks to wait).
  bool rearranging() const { return rearranging_; }
  const std::string& letters() const { return letters_; }

 private:
  store::Session& session_;
  EnginePorts ports_;
  SelectSettings settings_;
  SelectList list_ = SelectList::Class;
  int tagged_ = 0;
  std::string letters_;  // ",A,B,Z" and the like
  bool rearranging_ = false;
};

}  // namespace tavrel::engine
