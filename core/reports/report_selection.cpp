#include "core/reports/report_selection.h"

#include "core/reports/report_catalogue.h"
#include "core/store/lookups.h"

namespace tavrel::reports {

using namespace store;

namespace {

// The code of the item of the view with that name in the school; none when there is no such item.
std::optional<int> itemCode(Store& store, int school, char view, const std::string& name) {
  switch (view) {
    case 'C':
      if (auto row = store.table<TClas>().find(TClas::primary, {school, name})) return row->CLSCODE;
      return std::nullopt;
    case 'T':
      if (auto row = store.table<TTeac>().find(TTeac::primary, {school, name})) return row->TCHCODE;
      return std::nullopt;
    default:
      if (auto row = store.table<TSubj>().find(TSubj::primary, {name})) return row->SUBCODE;
      return std::nullopt;
  }
}

}  // namespace

std::vector<std::string> selectableNames(Store& store, int school, char view) {
  std::vector<std::string> names;
  switch (view) {
    case 'C':
      for (const TClas& row : store.table<TClas>().range(TClas::primary, {school})) names.push_back(row.CLSNAME);
      break;
    case 'T':
      for (const TTeac& row : store.table<TTeac>().range(TTeac::primary, {school})) names.push_back(row.TCHNAME);
      break;
    default:
      for (const TSubj& row : store.table<TSubj>().range(TSubj::primary)) {
        if (store.table<TSctl>().find(TSctl::primary, {school, row.SUBCODE})) names.push_back(row.SUBNAME);
      }
      break;
  }
  return names;
}

std::string filterPanelCaption(char view) {
  switch (view) {
    case 'T': return "Resource Filter";
    case 'S': return "Subject Filter";
    default: return "Class Filter";
  }
}

std::string itemLabel(char view) {
  switch (view) {
    case 'L': return "School :";
    case 'T': return "Resource :";
    case 'S': return "Subject :";
    default: return "Class :";
  }
}

std::optional<SelectionStep> previewSelection(Session& session, int code, const std::vector<std::string>& tickedNames) {
  Store& store = session.store();
  const char view = reportView(code) ? reportView(code) : session.viewKind;
  {
    Transaction tx(store);
    store.table<TRPCode>().removeAll();
    for (const std::string& name : tickedNames) {
      auto found = itemCode(store, session.schoolCode(), view, name);
      if (!found) continue;
      TRPCode row;
      row.RPTNAME = name;
      row.RPTCODE = *found;
      store.table<TRPCode>().insert(row);
    }
    tx.commit();
  }
  if (tickedNames.empty()) {
    session.prompter().error(kNoItemsTagged);
    return std::nullopt;
  }
  return reportKind(code) == ReportKind::Timetable ? SelectionStep::PrintSetup : SelectionStep::Preview;
}

std::vector<TRPCode> chosenItems(Store& store) { return store.table<TRPCode>().range(TRPCode::BYCODE); }

}  // namespace tavrel::reports
