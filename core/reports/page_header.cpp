#include "core/reports/page_header.h"

#include <array>
#include <charconv>

namespace tavrel::reports {

using namespace store;

namespace {

std::vector<HeaderLine> runningHeader(const PageHeaderTexts& texts, int page) {
  std::vector<HeaderLine> lines;
  lines.push_back({"", texts.institution, "", LineSize::Title, true});
  lines.push_back({"", texts.school, "", LineSize::Heading, true});
  if (!texts.remark.empty()) lines.push_back({"", texts.remark, "", LineSize::Normal, false});
  lines.push_back({std::string(kPrintedOn) + " " + texts.printedOn, "", std::string(kPage) + " " + std::to_string(page),
                   LineSize::Normal, false});
  return lines;
}

int number(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size() ? value : -1;
}

}  // namespace

PageHeaderTexts pageHeaderTexts(Store& store, int school, std::string_view isoDate) {
  PageHeaderTexts texts;
  texts.institution = store.institution().INSTITUTION;
  if (auto row = store.table<TSchl>().find(TSchl::SCLCODE, {school})) {
    texts.school = row->SNAME;
    texts.remark = row->SREMARK;
  }
  texts.printedOn = printedDate(isoDate);
  return texts;
}

std::string printedDate(std::string_view isoDate) {
  static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (isoDate.size() != 10 || isoDate[4] != '-' || isoDate[7] != '-') return std::string(isoDate);
  const int month = number(isoDate.substr(5, 2));
  if (month < 1 || month > 12 || number(isoDate.substr(0, 4)) < 0 || number(isoDate.substr(8, 2)) < 1)
    return std::string(isoDate);
  return std::string(isoDate.substr(8, 2)) + " " + kMonths[static_cast<std::size_t>(month - 1)] + " " +
         std::string(isoDate.substr(0, 4));
}

void finishPages(ReportDocument& document, const PageHeaderTexts& texts, const std::vector<HeaderLine>& emptyCaptions,
                 const Table& emptyTable) {
  if (document.pages.empty()) {
    ReportPage page;
    page.name = "Page 1";
    page.captions = emptyCaptions;
    page.table = emptyTable;
    document.pages.push_back(std::move(page));
  }
  for (std::size_t i = 0; i < document.pages.size(); ++i) {
    document.pages[i].header = runningHeader(texts, static_cast<int>(i) + 1);
  }
  document.pages.back().closingLines.push_back({std::string(kEndOfReport), "", "", LineSize::Normal, true});
}

}  // namespace tavrel::reports
