#include "core/reports/indent_list_report.h"

#include <array>

#include "core/reports/list_report.h"
#include "core/setup/constraint_text.h"
#include "core/store/lookups.h"
#include "core/util/text.h"

namespace tavrel::reports {

using namespace store;

namespace {

constexpr int kViewedNameLineWidth = 14;

// The titles of the viewed dimension and of the two others, in the order they are printed.
std::array<const char*, 3> dimensionTitles(char view) {
  switch (view) {
    case 'T': return {"Resource", "Class", "Subject"};
    case 'S': return {"Subject", "Class", "Resource"};
    default: return {"Class", "Resource", "Subject"};
  }
}

std::string itemName(Store& store, char view, int school, int code) {
  switch (view) {
    case 'T': return resourceName(store, school, code);
    case 'S': return subjectName(store, code);
    default: return className(store, school, code);
  }
}

// The names of the two other dimensions of an indent, in `dimensionTitles` order.
std::array<std::string, 2> otherNames(Store& store, char view, const TAlloc& indent) {
  switch (view) {
    case 'T': return {L_ACLASSNM(store, indent), L_ASUBJECTNM(store, indent)};
    case 'S': return {L_ACLASSNM(store, indent), L_ATEACHERNM(store, indent)};
    default: return {L_ATEACHERNM(store, indent), L_ASUBJECTNM(store, indent)};
  }
}

std::vector<TAlloc> activeIndents(Store& store, char view, int school, int code) {
  auto& indents = store.table<TAlloc>();
  switch (view) {
    case 'T': return indents.range(TAlloc::ALLOTEAC, {school, "Y", code});
    case 'S': return indents.range(TAlloc::ALLOSUBJ, {school, "Y", code});
    default: return indents.range(TAlloc::ALLOCLAS, {school, "Y", code});
  }
}

TableCell number(int value) { return cell(std::to_string(value), Align::Right); }

// A heading printed on two lines so that its column need be no wider than its numbers; written
// on one line where a format wraps by itself.
TableCell twoLineHeading(const char* first, const char* second) {
  TableCell heading = cellLines({first, second}, Align::Right);
  heading.bold = true;
  heading.wrapped = true;
  return heading;
}

TableRow indentRow(Store& store, char view, const std::string& viewedName, int serialNumber, const TAlloc& indent) {
  const bool regular = indent.AINCLUSOF < 2;
  const auto others = otherNames(store, view, indent);
  const std::string constraint = indent.AQUERY == setup::kNoConstraintText ? "" : indent.AQUERY;
  TableRow row;
  row.cells = {number(serialNumber),
               wrappedCell(viewedName, kViewedNameLineWidth),
               cell(regular ? "Regular" : "Cluster"),
               cell(text::cutToWidth(others[0], kIndentNameCut)),
               cell(text::cutToWidth(others[1], kIndentNameCut)),
               wrappedCell(constraint, kConstraintLineWidth),
               regular ? cell(std::string(kNotApplicable), Align::Right) : number(indent.AINCLUSOF),
               regular ? cell(std::string(kNotApplicable), Align::Right) : number(indent.ACLUSWEEK),
               number(indent.ANOOFLEC),
               number(indent.ANOLECALL)};
  return row;
}

}  // namespace

std::string indentListTitle(char view, const std::string& itemName) {
  const char* what = view == 'T'   ? "Allocation Indents (Resource View - "
                     : view == 'S' ? "Allocation Indents (Subject View - "
                                   : "Allocation Indents (Class View - ";
  return what + itemName + ")";
}

Table indentListTable(char view) {
  const auto titles = dimensionTitles(view);
  Table table;
  table.columns = {{4, Align::Right, 0},  {kViewedNameLineWidth, Align::Left, 0}, {7, Align::Left, 0},
                   {kIndentNameCut, Align::Left, 0}, {kIndentNameCut, Align::Left, 0},
                   {kConstraintLineWidth, Align::Left, 0}, {7, Align::Right, 0}, {8, Align::Right, 0},
                   {8, Align::Right, 0}, {9, Align::Right, 0}};
  TableRow heading;
  heading.cells = {boldCell("Sr.", Align::Right), boldCell(titles[0], Align::Left), boldCell("Type", Align::Left),
                   boldCell(titles[1], Align::Left), boldCell(titles[2], Align::Left),
                   boldCell("Constraint", Align::Left), twoLineHeading("Cluster", "Of"),
                   boldCell("Cluster/Week", Align::Right), boldCell("Indented", Align::Right),
                   boldCell("Allocated", Align::Right)};
  table.headingRows.push_back(std::move(heading));
  return table;
}

std::vector<ReportPage> indentListPages(Store& store, const ReportFilters& filters) {
  const ReportSelection& selection = filters.selection();
  std::vector<ReportPage> pages;
  for (int code : selection.chosen) {
    const std::string name = itemName(store, selection.view, selection.school, code);
    if (name.empty()) continue;
    std::vector<TableRow> rows;
    int serialNumber = 0;
    for (const TAlloc& indent : activeIndents(store, selection.view, selection.school, code)) {
      if (filters.indentRow(indent)) rows.push_back(indentRow(store, selection.view, name, ++serialNumber, indent));
    }
    auto chunks = splitIntoPages(std::move(rows), kIndentListLinesPerPage);
    if (chunks.empty()) chunks.emplace_back();
    for (auto& chunk : chunks) {
      ReportPage page;
      page.name = name;
      page.captions.push_back({"", indentListTitle(selection.view, name), "", LineSize::Heading, true});
      page.table = indentListTable(selection.view);
      page.table.rows = std::move(chunk);
      pages.push_back(std::move(page));
    }
  }
  return pages;
}

}  // namespace tavrel::reports
