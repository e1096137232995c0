// The file formats a report is exported to, and writing the ones the core writes itself. PDF,
// ODT and SVG need a page painter and are written by the renderer over the same document.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/reports/report_document.h"
#include "core/util/result.h"

namespace tavrel::reports {

enum class ReportFormat { Text, Csv, Html, Xlsx, Pdf, Odt, Svg };

// "txt", "csv", "html", "xlsx", "pdf", "odt" or "svg".
std::optional<ReportFormat> reportFormat(std::string_view name);
std::string_view formatName(ReportFormat format);

bool writtenByCore(ReportFormat format);

// Writes the document as text, CSV, HTML or XLSX; refuses the formats the renderer writes.
Status saveReport(const ReportDocument& document, ReportFormat format, const std::filesystem::path& file);

}  // namespace tavrel::reports
