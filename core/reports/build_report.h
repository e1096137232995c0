// Builds any report of the catalogue as a document, from the choices the report setup, the
// selection window and the print setup left in the report tables.
#pragma once

#include "core/reports/report_document.h"
#include "core/reports/report_options.h"
#include "core/store/store.h"

namespace tavrel::reports {

// The page each kind of report is laid out on: timetables and free periods on A4 landscape,
// lists and indent lists on A4 portrait.
Orientation reportOrientation(int code);

// The report `code` of the school: its pages with their running headers, ending with
// "*** End of Report". A report with nothing to show still prints its header and that line.
ReportDocument buildReport(store::Store& store, int school, int code, const ReportOptions& options);

}  // namespace tavrel::reports
