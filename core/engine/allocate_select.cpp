#include "core/engine/allocate_select.h"

#include <algorithm>
#include <set>

#include "core/store/priority_categories.h"

namespace tavrel::engine {

using namespace store;

namespace {

constexpr const char* kNoItems = "No items tagged in the checked list box. Click the box to tag.";
constexpr const char* kNoCategories = "No categories tagged in the checked list box. Click the box to tag.";
constexpr const char* kContinuityReview =
    "Applying Resource continuity sequence upper limit slows  the allocation process. Particularly, if you "
    "have opted for this without setting timetable under \"Allocate All\" first. Select Yes to review "
    "allocation settings.";

constexpr auto kCommitInterval = std::chrono::seconds(1);

// The index that ranges a school's active indents by item and priority letter.
int indexOf(SelectList list) {
  switch (list) {
    case SelectList::Resource:
      return TAlloc::ALLOTEAC;
    case SelectList::Subject:
      return TAlloc::ALLOSUBJ;
    case SelectList::Class:
      break;
  }
  return TAlloc::ALLOCLAS;
}

std::vector<std::string> lettersOf(const std::string& list) {
  std::vector<std::string> letters;
  std::size_t at = 0;
  while ((at = list.find(',', at)) != std::string::npos) {
    const std::size_t end = list.find(',', at + 1);
    letters.push_back(list.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1));
    at = end;
  }
  return letters;
}

}  // namespace

const std::vector<std::string>& selectCategories() {
  static const std::vector<std::string> categories = {"SPECIFIC",    "GROUP",      "PART TIME", "CLUSTER",
                                                      "ONE PER DAY", "CONSTRAINT", "SIMPLE"};
  return categories;
}

std::string categoryLetters(std::string_view category) {
  const std::string list = Figure_prior(category);
  return list.empty() ? list : list.substr(1);
}

AllocateSelect::AllocateSelect(Session& session, EnginePorts ports, SelectSettings settings)
    : session_(session), ports_(ports), settings_(settings) {}

std::vector<SelectItem> AllocateSelect::items(SelectList list) const {
  std::vector<SelectItem> result;
  const int school = session_.schoolCode();
  switch (list) {
    case SelectList::Class:
      session_.classes().refresh();
      for (const TClas& row : session_.classes().rows())
        result.push_back({row.CLSCODE, row.CLSNAME, row.CLSREQLEC - row.CLSTOTALL});
      break;
    case SelectList::Resource:
      session_.resources().refresh();
      for (const TTeac& row : session_.resources().rows())
        result.push_back({row.TCHCODE, row.TCHNAME, row.TCHREQLEC - row.TALLOCLEC});
      break;
    case SelectList::Subject: {
      auto& links = session_.store().table<TSctl>();
      session_.subjects().refresh();
      for (const TSubj& row : session_.subjects().rows()) {
        if (auto link = links.find(TSctl::primary, {school, row.SUBCODE}))
          result.push_back({row.SUBCODE, row.SUBNAME, link->SCTREQLEC - link->SCTTOTALL});
      }
      break;
    }
  }
  return result;
}

bool AllocateSelect::tagItems(SelectList list, const std::vector<SelectItem>& tagged) {
  Store& store = session_.store();
  auto& selection = store.table<TRPCode>();
  Transaction tx(store);
  selection.removeAll();
  std::set<int> codes;
  tagged_ = 0;
  for (const SelectItem& item : tagged) {
    if (!codes.insert(item.code).second) continue;
    TRPCode row{.RPTNAME = item.name, .RPTCODE = item.code};
    selection.insert(row);
    tagged_ += item.incomplete;
  }
  tx.commit();
  list_ = list;
  if (tagged.empty()) {
    ports_.prompter.error(kNoItems);
    return false;
  }
  return true;
}

bool AllocateSelect::tagCategories(const std::vector<std::string>& categories) {
  letters_.clear();
  for (const std::string& category : selectCategories()) {
    if (std::find(categories.begin(), categories.end(), category) != categories.end())
      letters_ += Figure_prior(category);
  }
  if (letters_.empty()) {
    ports_.prompter.error(kNoCategories);
    return false;
  }
  return true;
}

SelectOutcome AllocateSelect::allocate(const AllocationOptions& options) {
  SelectOutcome result;
  result.tagged = tagged_;
  auto school = session_.school();
  if (!school || letters_.empty()) return result;
  if (options.continuity && ports_.prompter.ask(MessageKind::Information, kContinuityReview)) {
    result.end = SelectEnd::Review;
    return result;
  }
  saveAllocationOptions(session_, options);
  Store& store = session_.store();
  const auto start = ports_.clock.now();
  result.seed = settings_.seed.value_or(seedFromClock(ports_.clock));
  SelectLabels labels;
  auto show = [&] {
    labels.allocated =
        std::to_string(result.allocated) + "/" + std::to_string(tagged_) + " periods allocated";
    labels.failed = std::to_string(result.failed) + " periods failed allocation";
    labels.processed = std::to_string(result.allocated + result.failed) + " periods processed";
    if (settings_.listener) settings_.listener->labels(labels);
  };
  ports_.progress.show("Allocating...", tagged_);
  show();

  // One transaction for the run, each indent a savepoint within it: an indent is placed whole or
  // not at all, and the run is made durable about once a second instead of after every indent,
  // which would cost more than placing it.
  Transaction tx(store);
  auto lastCommit = start;
  const std::vector<std::string> letters = lettersOf(letters_);
  const std::vector<TRPCode> selection = store.table<TRPCode>().range(TRPCode::primary);
  bool stop = false;
  for (const TRPCode& item : selection) {
    for (const std::string& letter : letters) {
      if (stop) break;
      const std::vector<TAlloc> range =
          store.table<TAlloc>().range(indexOf(list_), {school->SCHOOLCODE, "Y", item.RPTCODE, letter});
      if (range.empty()) continue;
      labels.current = "Allocating " + item.RPTNAME + ", " + Figure_category(letter.front()) + "...";
      ports_.progress.text(labels.current);
      show();
      for (const TAlloc& listed : range) {
        // Read when its turn comes, as the cursor reads it.
        auto indent = store.table<TAlloc>().find(TAlloc::primary, {school->SCHOOLCODE, listed.ASERIALNO});
        if (!indent || indent->ANOLECALL >= indent->ANOOFLEC) continue;
        TableModeSettings indentSettings{.seed = result.seed + static_cast<std::uint64_t>(result.indents),
                                         .rearrangeLimit = settings_.rearrangeLimit,
                                         .clusterPermission = session_.ClusterPermission,
                                         .rearrange = true,
                                         .diagnose = false,
                                         .rearranging = &rearranging_};
        const IndentAllocation done = allocateIndent(session_, ports_, indent->ASERIALNO, indentSettings);
        ++result.indents;
        result.failed += done.missing;
        if (done.gained > 0) {
          result.allocated += done.gained;
          ports_.progress.step(done.gained);
        }
        show();
        if (const auto now = ports_.clock.now(); now - lastCommit >= kCommitInterval) {
          tx.checkpoint();
          lastCommit = now;
        }
        if (done.stopped || ports_.progress.pump()) {
          stop = true;
          break;
        }
      }
    }
    if (stop) break;
  }
  tx.commit();
  session_.flush(kFlushIndents);
  result.elapsed = elapsedText(ports_.clock.now() - start);
  result.end = stop ? SelectEnd::Stopped : SelectEnd::Done;
  ports_.progress.text("Done");
  ports_.prompter.beep();
  ports_.prompter.info(std::to_string(result.allocated) + "/" + std::to_string(tagged_) +
                       " periods allocated.Time elapsed: " + result.elapsed + ".");
  return result;
}

}  // namespace tavrel::engine
