#include "core/store/lookups.h"

namespace tavrel::store {

namespace {

template <class Row, class Field>
auto fieldOf(std::optional<Row> row, Field field) -> std::remove_cvref_t<decltype((*row).*field)> {
  if (!row) return {};
  return (*row).*field;
}

std::optional<TTeac> resource(Store& s, int school, int code) {
  return s.table<TTeac>().find(TTeac::TEACCODE, {school, code});
}

std::optional<TAlloc> indent(Store& s, int school, int serial) {
  return s.table<TAlloc>().find(TAlloc::primary, {school, serial});
}

}  // namespace

std::string className(Store& s, int school, int code) {
  return fieldOf(s.table<TClas>().find(TClas::CLASCODE, {school, code}), &TClas::CLSNAME);
}

std::string resourceName(Store& s, int school, int code) { return fieldOf(resource(s, school, code), &TTeac::TCHNAME); }

std::string subjectName(Store& s, int code) {
  return fieldOf(s.table<TSubj>().find(TSubj::SUBJCODE, {code}), &TSubj::SUBNAME);
}

std::string schoolName(Store& s, int code) {
  return fieldOf(s.table<TSchl>().find(TSchl::SCLCODE, {code}), &TSchl::SNAME);
}

std::string classOption(Store& s, int school, int code) {
  return fieldOf(s.table<TClas>().find(TClas::CLASCODE, {school, code}), &TClas::CLSOPTION);
}

std::string resourceOption(Store& s, int school, int code) {
  return fieldOf(resource(s, school, code), &TTeac::TCHOPTION);
}

std::string L_ATEACHERPT(Store& s, const TAlloc& r) {
  return fieldOf(resource(s, r.ASCHOOL, r.ATEACHER), &TTeac::TPARTTIME);
}

int L_OPMAXDAY(Store& s, const TOptn& r) { return fieldOf(resource(s, r.OPSCHOOL, r.OPSUBCODE), &TTeac::TMAXLEC); }

int L_PTMAXCON(Store& s, const TAPara& r) { return fieldOf(resource(s, r.PSCHOOL, r.PTEACHER), &TTeac::TMAXCON); }

int L_PTMAXDAY(Store& s, const TAPara& r) { return fieldOf(resource(s, r.PSCHOOL, r.PTEACHER), &TTeac::TMAXLEC); }

int L_PTOCC(Store& s, const TAPara& r) {
  return fieldOf(s.table<TTOcc>().find(TTOcc::primary, {r.PSCHOOL, r.PCLASS, r.PTEACHER}), &TTOcc::TOCCURENCE);
}

int L_PSOCC(Store& s, const TAPara& r) {
  return fieldOf(s.table<TSOcc>().find(TSOcc::primary, {r.PSCHOOL, r.PCLASS, r.PSUBJECT}), &TSOcc::SOCCURENCE);
}

int L_RTOALLOC(Store& s, const TRPara& r) { return fieldOf(indent(s, r.RSCHOOL, r.RSERIALNO), &TAlloc::ANOOFLEC); }

int L_RDNALLOC(Store& s, const TRPara& r) { return fieldOf(indent(s, r.RSCHOOL, r.RSERIALNO), &TAlloc::ANOLECALL); }

}  // namespace tavrel::store
