// The three page formats the renderer writes, each over the same page painter (PDF, SVG) or the
// same document model (ODT). Used by `renderReport`.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <filesystem>

#include "core/reports/report_document.h"
#include "core/util/result.h"

namespace tavrel::render {

// Margins around every page, in millimetres.
inline constexpr double kMarginMillimetres = 10.0;

QPageSize pageSizeOf(const reports::Paper& paper);
QPageLayout pageLayoutOf(const reports::ReportDocument& document);
QString qtPath(const std::filesystem::path& file);

Status writePdf(const reports::ReportDocument& document, const std::filesystem::path& file);
Status writeSvg(const reports::ReportDocument& document, const std::filesystem::path& file);
Status writeOdt(const reports::ReportDocument& document, const std::filesystem::path& file);

}  // namespace tavrel::render
