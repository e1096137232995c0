#include "core/store/indent_description.h"

#include "core/store/store.h"

namespace tavrel::store {

namespace {

std::string className(Store& store, int school, int code) {
  auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code});
  return row ? row->CLSNAME : std::string();
}

std::string resourceName(Store& store, int school, int code) {
  auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code});
  return row ? row->TCHNAME : std::string();
}

std::string subjectName(Store& store, int code) {
  auto row = store.table<TSubj>().find(TSubj::SUBJCODE, {code});
  return row ? row->SUBNAME : std::string();
}

}  // namespace

std::string get_prd_dtls(Store& store, int school, int serial) {
  auto indent = store.table<TAlloc>().find(TAlloc::primary, {school, serial});
  if (!indent) return {};
  std::string text = className(store, school, indent->ACLASS) + ", " +
                     resourceName(store, school, indent->ATEACHER) + ", " +
                     subjectName(store, indent->ASUBJECT);
  if (indent->AINCLUSOF < 2) return text + ", Regular";
  return text + ", Cluster(" + std::to_string(indent->AINCLUSOF) + ")";
}

}  // namespace tavrel::store
