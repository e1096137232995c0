#include "core/reports/list_report.h"

namespace tavrel::reports {

using namespace store;

namespace {

TableCell number(int value) { return cell(std::to_string(value), Align::Right); }
TableCell notApplicable() { return cell(std::string(kNotApplicable), Align::Right); }

// Name, available, maximum, then indented and allocated, each solo, multi and total.
TableRow countsRow(const std::string& name, int available, std::optional<int> maximum, int indentedSolo,
                   int indentedMulti, int allocatedSolo, int allocatedMulti) {
  TableRow row;
  row.cells = {cell(name),
               number(available),
               maximum ? number(*maximum) : notApplicable(),
               number(indentedSolo),
               number(indentedMulti),
               number(indentedSolo + indentedMulti),
               number(allocatedSolo),
               number(allocatedMulti),
               number(allocatedSolo + allocatedMulti)};
  return row;
}

std::vector<TableRow> classRows(Store& store, const ReportFilters& filters) {
  std::vector<TableRow> rows;
  for (const TClas& c : store.table<TClas>().range(TClas::primary, {filters.selection().school})) {
    if (!filters.classRow(c)) continue;
    rows.push_back(countsRow(c.CLSNAME, c.CLSTOTLEC, std::nullopt, c.CLSREQLEC, c.CLSREQMLT, c.CLSTOTALL, c.CLSMLTALL));
  }
  return rows;
}

std::vector<TableRow> resourceRows(Store& store, const ReportFilters& filters) {
  std::vector<TableRow> rows;
  for (const TTeac& t : store.table<TTeac>().range(TTeac::primary, {filters.selection().school})) {
    if (!filters.resourceRow(t)) continue;
    rows.push_back(countsRow(t.TCHNAME, t.TCHTOTLEC, t.TMAXLECWK, t.TCHREQLEC, t.TCHREQMLT, t.TALLOCLEC, t.TCHMLTALL));
  }
  return rows;
}

std::vector<TableRow> subjectRows(Store& store, const ReportFilters& filters) {
  std::vector<TableRow> rows;
  for (const TSubj& s : store.table<TSubj>().range(TSubj::primary)) {
    if (!filters.subjectRow(s)) continue;
    const auto link = store.table<TSctl>().find(TSctl::primary, {filters.selection().school, s.SUBCODE});
    const int required = link ? link->SCTREQLEC : 0;
    const int allocated = link ? link->SCTTOTALL : 0;
    TableRow row;
    row.cells = {cell(s.SUBNAME), notApplicable(), notApplicable(), number(required), notApplicable(),
                 number(required), notApplicable(), notApplicable(), number(allocated)};
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

std::string listTitle(char view, const ListChoice& choice) {
  const char* what = view == 'T' ? "Resource List (" : view == 'S' ? "Subject List (" : "Class List (";
  std::string filter = statusCaption(choice.status);
  // Only the allocated and incomplete tests measure against something, and subjects are only
  // ever measured against what is indented.
  const bool measured = choice.status == StatusChoice::Allocated || choice.status == StatusChoice::Incomplete;
  if (measured) filter += view == 'S' ? basisCaption(BasisChoice::Indented) : basisCaption(choice.basis);
  return what + filter + ")";
}

Table listTable() {
  Table table;
  table.columns = {{25, Align::Left, 0}, {9, Align::Right, 0}, {8, Align::Right, 0},
                   {7, Align::Right, 1}, {7, Align::Right, 1}, {7, Align::Right, 1},
                   {7, Align::Right, 1}, {7, Align::Right, 1}, {7, Align::Right, 1}};
  TableRow top;
  top.cells = {boldCell("Name", Align::Left), boldCell("Available"), boldCell("Maximum"), boldCell("Indented", Align::Centre, 3),
               boldCell("Allocated", Align::Centre, 3)};
  TableRow bottom;
  bottom.cells = {boldCell(""), boldCell(""), boldCell(""), boldCell("(Solo)"), boldCell("(Multi)"), boldCell("(Total)"),
                  boldCell("(Solo)"), boldCell("(Multi)"), boldCell("(Total)")};
  table.headingRows = {std::move(top), std::move(bottom)};
  return table;
}

std::vector<ReportPage> listPages(Store& store, const ReportFilters& filters) {
  const ReportSelection& selection = filters.selection();
  std::vector<TableRow> rows = selection.view == 'T'   ? resourceRows(store, filters)
                               : selection.view == 'S' ? subjectRows(store, filters)
                                                       : classRows(store, filters);
  const std::string title = listTitle(selection.view, selection.choice);
  std::vector<ReportPage> pages;
  for (auto& chunk : splitIntoPages(std::move(rows), kListLinesPerPage)) {
    ReportPage page;
    page.name = "Page " + std::to_string(pages.size() + 1);
    page.captions.push_back({"", title, "", LineSize::Heading, true});
    page.table = listTable();
    page.table.rows = std::move(chunk);
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace tavrel::reports
