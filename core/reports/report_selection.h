// "Select" as it leads into a report: the check list of the school's classes, resources or
// subjects with its filter panel, and "&Preview", which records the ticked items for the report.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/session.h"

namespace tavrel::reports {

inline constexpr std::string_view kNoItemsTagged = "No items tagged in the checked list box. Click the box to tag.";

// The names the check list offers for the view, in name order: the school's classes or
// resources, or the subjects the school uses.
std::vector<std::string> selectableNames(store::Store& store, int school, char view);

// "Class Filter", "Resource Filter" or "Subject Filter".
std::string filterPanelCaption(char view);
// "School :", "Class :", "Resource :" or "Subject :".
std::string itemLabel(char view);

enum class SelectionStep {
  Preview,     // the report can be built and shown
  PrintSetup,  // timetables go on to the timetable print setup
};

// "&Preview" for the report `code`: empties `TRPCode` and records every ticked name that is an
// item of the current school with its code. Refuses with "No items tagged in the checked list
// box. Click the box to tag." when nothing is ticked.
std::optional<SelectionStep> previewSelection(store::Session& session, int code,
                                              const std::vector<std::string>& tickedNames);

// The items recorded for the report, as (name, code) in code order.
std::vector<store::TRPCode> chosenItems(store::Store& store);

}  // namespace tavrel::reports
