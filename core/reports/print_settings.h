// "Print Settings": the printer, the paper and its size in inches, copies, orientation and font
// a report is printed with.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/reports/report_document.h"

namespace tavrel::reports {

// A paper of the "Paper Size:" list with its length and width as the settings show them.
struct PaperSize {
  std::string name;
  std::string length;  // inches, two decimals
  std::string width;
};

// "A4", "Letter", 15"X12" and 10"X12", in the order the list offers them.
const std::vector<PaperSize>& paperSizes();
std::optional<PaperSize> findPaperSize(std::string_view name);

// The paper a document is laid out on.
Paper paperOf(const PaperSize& size);

struct PrintSettings {
  std::string printer;  // the first installed printer
  std::string paper = "A4";
  std::string length = "11.69";
  std::string width = "8.27";
  int copies = 1;
  Orientation orientation = Orientation::Portrait;
  std::string font = "Arial";

  // Choosing a paper fills its length and width; a name not in the list changes nothing.
  bool choosePaper(std::string_view name);
};

// The settings as the window opens with the installed printers and fonts.
PrintSettings openPrintSettings(const std::vector<std::string>& printers);

}  // namespace tavrel::reports
