#include "render/report_renderer.h"

#include <QSizeF>
#include <cmath>

#include "render/gui_application.h"
#include "render/page_outputs.h"

namespace tavrel::render {

using reports::ReportFormat;

QPageSize pageSizeOf(const reports::Paper& paper) {
  if (paper.name == "A4") return QPageSize(QPageSize::A4);
  if (paper.name == "Letter") return QPageSize(QPageSize::Letter);
  return QPageSize(QSizeF(paper.widthInches, paper.heightInches), QPageSize::Inch, QString::fromStdString(paper.name));
}

QPageLayout pageLayoutOf(const reports::ReportDocument& document) {
  const auto orientation =
      document.orientation == reports::Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
  const double margin = kMarginMillimetres;
  return QPageLayout(pageSizeOf(document.paper), orientation, QMarginsF(margin, margin, margin, margin),
                     QPageLayout::Millimeter);
}

QString qtPath(const std::filesystem::path& file) { return QString::fromStdString(file.string()); }

std::vector<std::filesystem::path> svgPageFiles(const std::filesystem::path& file, std::size_t pages) {
  if (pages <= 1) return {file};
  std::vector<std::filesystem::path> files;
  for (std::size_t page = 1; page <= pages; ++page) {
    std::filesystem::path numbered = file;
    numbered.replace_filename(file.stem().string() + "-" + std::to_string(page) + file.extension().string());
    files.push_back(numbered);
  }
  return files;
}

Status renderReport(const reports::ReportDocument& document, ReportFormat format, const std::filesystem::path& file) {
  ensureGuiApplication();
  switch (format) {
    case ReportFormat::Pdf: return writePdf(document, file);
    case ReportFormat::Svg: return writeSvg(document, file);
    case ReportFormat::Odt: return writeOdt(document, file);
    default: break;
  }
  return Error{"The " + std::string(reports::formatName(format)) + " form of a report is written by the core."};
}

}  // namespace tavrel::render
