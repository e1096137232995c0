// Lookup fields: values shown beside a record that come from the record it refers to (the name of
// an indent's class, the per-day limit of a member resource...). They are computed, never stored.
// A reference to a record that does not exist reads as an empty text or 0.
#pragma once

#include <string>

#include "core/store/store.h"

namespace tavrel::store {

// Names and group flags by code within a school, and subject names by code.
std::string className(Store& store, int school, int classCode);
std::string resourceName(Store& store, int school, int resourceCode);
std::string subjectName(Store& store, int subjectCode);
std::string schoolName(Store& store, int schoolCode);
std::string classOption(Store& store, int school, int classCode);
std::string resourceOption(Store& store, int school, int resourceCode);

// TAlloc
inline std::string L_ASUBJECTNM(Store& s, const TAlloc& r) { return subjectName(s, r.ASUBJECT); }
inline std::string L_ATEACHERNM(Store& s, const TAlloc& r) { return resourceName(s, r.ASCHOOL, r.ATEACHER); }
inline std::string L_ACLASSNM(Store& s, const TAlloc& r) { return className(s, r.ASCHOOL, r.ACLASS); }
inline std::string L_ACLSOP(Store& s, const TAlloc& r) { return classOption(s, r.ASCHOOL, r.ACLASS); }
inline std::string L_ATCHOP(Store& s, const TAlloc& r) { return resourceOption(s, r.ASCHOOL, r.ATEACHER); }
std::string L_ATEACHERPT(Store& s, const TAlloc& r);

// TOptn
inline std::string L_OPTTSUBNM(Store& s, const TOptn& r) { return resourceName(s, r.OPSCHOOL, r.OPSUBCODE); }
inline std::string L_OPTCSUBNM(Store& s, const TOptn& r) { return className(s, r.OPSCHOOL, r.OPSUBCODE); }
inline std::string L_OPTTMAINNM(Store& s, const TOptn& r) { return resourceName(s, r.OPSCHOOL, r.OPMAINCODE); }
inline std::string L_OPTCMAINNM(Store& s, const TOptn& r) { return className(s, r.OPSCHOOL, r.OPMAINCODE); }
int L_OPMAXDAY(Store& s, const TOptn& r);

// TTtbl
inline std::string L_TTEACHERNAME(Store& s, const TTtbl& r) { return resourceName(s, r.TSCHOOL, r.TTEACHER); }
inline std::string L_TCLASSNAME(Store& s, const TTtbl& r) { return className(s, r.TSCHOOL, r.TCLASS); }
inline std::string L_TSUBJECTNAME(Store& s, const TTtbl& r) { return subjectName(s, r.TSUBJECT); }
inline std::string L_TCOP(Store& s, const TTtbl& r) { return classOption(s, r.TSCHOOL, r.TCLASS); }
inline std::string L_TTOP(Store& s, const TTtbl& r) { return resourceOption(s, r.TSCHOOL, r.TTEACHER); }

// TAPara: the indent in hand of the engine
inline std::string L_PCOP(Store& s, const TAPara& r) { return classOption(s, r.PSCHOOL, r.PCLASS); }
inline std::string L_PTOP(Store& s, const TAPara& r) { return resourceOption(s, r.PSCHOOL, r.PTEACHER); }
int L_PTMAXCON(Store& s, const TAPara& r);
int L_PTMAXDAY(Store& s, const TAPara& r);
inline std::string L_PTNM(Store& s, const TAPara& r) { return resourceName(s, r.PSCHOOL, r.PTEACHER); }
int L_PTOCC(Store& s, const TAPara& r);
int L_PSOCC(Store& s, const TAPara& r);
inline std::string L_PCNM(Store& s, const TAPara& r) { return className(s, r.PSCHOOL, r.PCLASS); }
inline std::string L_PSUBJECTNM(Store& s, const TAPara& r) { return subjectName(s, r.PSUBJECT); }

// TRPara: the indent being rearranged for
inline std::string L_RCOP(Store& s, const TRPara& r) { return classOption(s, r.RSCHOOL, r.RCLASS); }
inline std::string L_RTOP(Store& s, const TRPara& r) { return resourceOption(s, r.RSCHOOL, r.RTEACHER); }
int L_RTOALLOC(Store& s, const TRPara& r);
int L_RDNALLOC(Store& s, const TRPara& r);

// TSctl and TProxy
inline std::string L_SCTSCHOOLNM(Store& s, const TSctl& r) { return schoolName(s, r.SCTSCHOOL); }
inline std::string L_SCTSUBNAME(Store& s, const TSctl& r) { return subjectName(s, r.SCTCODE); }
inline std::string L_PXBYCLASSNM(Store& s, const TProxy& r) { return className(s, r.PXSCHOOL, r.PXBYCODE); }
inline std::string L_PXBYTEACHERNM(Store& s, const TProxy& r) { return resourceName(s, r.PXSCHOOL, r.PXBYCODE); }

}  // namespace tavrel::store
