// "Report Setup": the catalogue of reports and "&Next", which checks that the school has data for
// the chosen report and says which window comes next.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/store/session.h"

namespace tavrel::reports {

inline constexpr std::string_view kNoDataForReport = "No data for this report.";

// The window's caption: the school's name followed by " - Report Setup".
std::string reportSetupCaption(const store::TSchl& school);

enum class ReportStep {
  PrintSetup,  // the timetable print setup (school-wide free periods)
  Selection,   // the selection window: tick the classes, resources or subjects
};

// "&Next" for the report `code` of the current school: sets the view kind from the code, then
// refuses with "No data for this report." when the school has no item of that kind, or, for the
// timetable, indent and free-period reports, no active indent.
std::optional<ReportStep> reportSetupNext(store::Session& session, int code);

}  // namespace tavrel::reports
