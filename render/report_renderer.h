// Writes a report document as PDF, ODT or SVG, page by page, on the paper and orientation the
// report asks for. Drawing needs a Qt GUI application: when the program has none (the
// command-line tool), one is started on the offscreen platform.
#pragma once

#include <filesystem>
#include <vector>

#include "core/reports/report_document.h"
#include "core/reports/report_formats.h"
#include "core/util/result.h"

namespace tavrel::render {

// PDF and ODT: one file. SVG: one file per page (see `svgPageFiles`).
Status renderReport(const reports::ReportDocument& document, reports::ReportFormat format,
                    const std::filesystem::path& file);

// The SVG files of a document of `pages` pages written to `file`: the file itself for one page,
// otherwise "name-1.svg", "name-2.svg", ... beside it.
std::vector<std::filesystem::path> svgPageFiles(const std::filesystem::path& file, std::size_t pages);

}  // namespace tavrel::render
