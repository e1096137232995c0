#include "core/reports/report_formats.h"

#include <array>
#include <utility>

#include "core/reports/csv_writer.h"
#include "core/reports/html_writer.h"
#include "core/reports/text_writer.h"
#include "core/reports/xlsx_writer.h"

namespace tavrel::reports {

namespace {

constexpr std::array<std::pair<ReportFormat, std::string_view>, 7> kNames = {{
    {ReportFormat::Text, "txt"},
    {ReportFormat::Csv, "csv"},
    {ReportFormat::Html, "html"},
    {ReportFormat::Xlsx, "xlsx"},
    {ReportFormat::Pdf, "pdf"},
    {ReportFormat::Odt, "odt"},
    {ReportFormat::Svg, "svg"},
}};

}  // namespace

std::optional<ReportFormat> reportFormat(std::string_view name) {
  for (const auto& [format, formatText] : kNames) {
    if (formatText == name) return format;
  }
  return std::nullopt;
}

std::string_view formatName(ReportFormat format) {
  for (const auto& [known, formatText] : kNames) {
    if (known == format) return formatText;
  }
  return {};
}

bool writtenByCore(ReportFormat format) {
  return format == ReportFormat::Text || format == ReportFormat::Csv || format == ReportFormat::Html ||
         format == ReportFormat::Xlsx;
}

Status saveReport(const ReportDocument& document, ReportFormat format, const std::filesystem::path& file) {
  switch (format) {
    case ReportFormat::Text: return saveReportFile(reportText(document), file);
    case ReportFormat::Csv: return saveReportFile(reportCsv(document), file);
    case ReportFormat::Html: return saveReportFile(reportHtml(document), file);
    case ReportFormat::Xlsx: return saveReportXlsx(document, file);
    case ReportFormat::Pdf:
    case ReportFormat::Odt:
    case ReportFormat::Svg: break;
  }
  return Error{"The " + std::string(formatName(format)) + " form of a report is drawn by the page renderer."};
}

}  // namespace tavrel::reports
