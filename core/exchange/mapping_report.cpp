#include "core/exchange/mapping_report.h"

#include <sstream>

namespace tavrel::exchange {

int MappingReport::droppedTotal() const {
  int total = 0;
  for (const auto& [kind, count] : dropped_) total += count;
  return total;
}

std::string MappingReport::text() const {
  std::ostringstream out;
  out << "Mapped:\n";
  for (const std::string& line : mapped_) out << "  " << line << "\n";
  for (const auto& [kind, count] : counted_) out << "  " << count << " x " << kind << "\n";
  if (!notes_.empty()) {
    out << "Choices:\n";
    for (const std::string& line : notes_) out << "  " << line << "\n";
  }
  out << "Dropped (no Tavrel equivalent): ";
  if (dropped_.empty()) {
    out << "nothing\n";
  } else {
    out << droppedTotal() << "\n";
    for (const auto& [kind, count] : dropped_) out << "  " << count << " x " << kind << "\n";
  }
  return out.str();
}

}  // namespace tavrel::exchange
