#include "core/reports/print_settings.h"

#include <algorithm>
#include <cstdlib>

namespace tavrel::reports {

const std::vector<PaperSize>& paperSizes() {
  static const std::vector<PaperSize> sizes = {
      {"A4", "11.69", "8.27"},
      {"Letter", "11.00", "8.50"},
      {"15\"X12\"", "15.00", "12.00"},
      {"10\"X12\"", "12.00", "10.00"},
  };
  return sizes;
}

std::optional<PaperSize> findPaperSize(std::string_view name) {
  for (const PaperSize& size : paperSizes()) {
    if (size.name == name) return size;
  }
  return std::nullopt;
}

Paper paperOf(const PaperSize& size) {
  const double length = std::strtod(size.length.c_str(), nullptr);
  const double width = std::strtod(size.width.c_str(), nullptr);
  return Paper{size.name, std::min(length, width), std::max(length, width)};
}

bool PrintSettings::choosePaper(std::string_view name) {
  auto size = findPaperSize(name);
  if (!size) return false;
  paper = size->name;
  length = size->length;
  width = size->width;
  return true;
}

PrintSettings openPrintSettings(const std::vector<std::string>& printers) {
  PrintSettings settings;
  if (!printers.empty()) settings.printer = printers.front();
  return settings;
}

}  // namespace tavrel::reports
