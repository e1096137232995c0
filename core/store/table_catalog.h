// The one place that defines every table of the data set: numbers, files, fields with their widths,
// the primary key and the named secondary indexes. Everything else reaches fields through the typed
// row structs generated here; no other file spells a column name in a string.
//
// Each table is written as two lists:
//   TAVREL_FIELDS_<T>(F)   F(field, kind, width)      kind: Int, Text, Memo, Bool, Date
//   TAVREL_INDEXES_<T>(I)  I(index, unique, "F1;F2")  the first one is the unnamed primary key
#pragma once

// clang-format off

// ---- 1 TClas: classes ---------------------------------------------------------------------------
#define TAVREL_FIELDS_TClas(F) \
  F(CSCHOOL, Int, 0) F(CLSNAME, Text, 25) F(CLSCODE, Int, 0) F(CLSOPTION, Text, 1) \
  F(CLSTOTLEC, Int, 0) F(CLSREQLEC, Int, 0) F(CLSREQMLT, Int, 0) F(CLSTOTALL, Int, 0) \
  F(CLSMLTALL, Int, 0) F(CLSNOTES, Memo, 0)
#define TAVREL_INDEXES_TClas(I) \
  I(primary, true, "CSCHOOL;CLSNAME") \
  I(CLASCODE, true, "CSCHOOL;CLSCODE")

// ---- 2 TTeac: resources -------------------------------------------------------------------------
#define TAVREL_FIELDS_TTeac(F) \
  F(TSCHOOL, Int, 0) F(TCHNAME, Text, 25) F(TCHCODE, Int, 0) F(TCHOPTION, Text, 1) \
  F(TMAXLEC, Int, 0) F(TMAXLECWK, Int, 0) F(TMAXCON, Int, 0) F(TCHTOTLEC, Int, 0) \
  F(TCHREQLEC, Int, 0) F(TCHREQMLT, Int, 0) F(TALLOCLEC, Int, 0) F(TCHMLTALL, Int, 0) \
  F(TPARTTIME, Text, 1) F(TCHNOTES, Memo, 0)
#define TAVREL_INDEXES_TTeac(I) \
  I(primary, true, "TSCHOOL;TCHNAME") \
  I(TEACCODE, true, "TSCHOOL;TCHCODE")

// ---- 3 TSubj: subjects of the institution -------------------------------------------------------
#define TAVREL_FIELDS_TSubj(F) F(SUBNAME, Text, 25) F(SUBCODE, Int, 0)
#define TAVREL_INDEXES_TSubj(I) \
  I(primary, true, "SUBNAME") \
  I(SUBJCODE, true, "SUBCODE")

// ---- 4 TAlloc: allocation indents ---------------------------------------------------------------
#define TAVREL_FIELDS_TAlloc(F) \
  F(ASCHOOL, Int, 0) F(ASERIALNO, Int, 0) F(ACLASS, Int, 0) F(ATEACHER, Int, 0) F(ASUBJECT, Int, 0) \
  F(AQUERY, Text, 254) F(ANOOFLEC, Int, 0) F(ACLUSWEEK, Int, 0) F(AINCLUSOF, Int, 0) \
  F(ASUBOCDAY, Int, 0) F(ATCHOCDAY, Int, 0) F(APRIORITY, Text, 1) F(AACTIVE, Text, 1) \
  F(ASTDAY, Int, 0) F(AENDAY, Int, 0) F(ASTLEC, Int, 0) F(AENLEC, Int, 0) F(ANOLECALL, Int, 0) \
  F(ALISTDAY, Text, 25) F(ALISTLEC, Text, 25) F(ARECESS, Text, 1)
#define TAVREL_INDEXES_TAlloc(I) \
  I(primary, true, "ASCHOOL;ASERIALNO") \
  I(ALLOCLAS, true, "ASCHOOL;AACTIVE;ACLASS;APRIORITY;ASERIALNO") \
  I(ALLOCLS, false, "ASCHOOL;AACTIVE;ACLASS") \
  I(ALLOFLAG, true, "ASCHOOL;AACTIVE;APRIORITY;ASUBJECT;ASERIALNO") \
  I(ALLOSUBJ, true, "ASCHOOL;AACTIVE;ASUBJECT;APRIORITY;ASERIALNO") \
  I(ALLOTCH, false, "ASCHOOL;AACTIVE;ATEACHER") \
  I(ALLOTEAC, true, "ASCHOOL;AACTIVE;ATEACHER;APRIORITY;ASERIALNO")

// ---- 5 TTOcc: per-day upper limit of a resource for a class -------------------------------------
#define TAVREL_FIELDS_TTOcc(F) \
  F(TOSCHOOL, Int, 0) F(TOCLASS, Int, 0) F(TOTEACHER, Int, 0) F(TOCCURENCE, Int, 0)
#define TAVREL_INDEXES_TTOcc(I) \
  I(primary, true, "TOSCHOOL;TOCLASS;TOTEACHER") \
  I(TOTCH, false, "TOSCHOOL;TOTEACHER")

// ---- 6 TSOcc: per-day upper limit of a subject for a class --------------------------------------
#define TAVREL_FIELDS_TSOcc(F) \
  F(SOSCHOOL, Int, 0) F(SOCLASS, Int, 0) F(SOSUBJECT, Int, 0) F(SOCCURENCE, Int, 0)
#define TAVREL_INDEXES_TSOcc(I) \
  I(primary, true, "SOSCHOOL;SOCLASS;SOSUBJECT") \
  I(SOSUB, false, "SOSCHOOL;SOSUBJECT")

// ---- 7 TOptn: group membership ------------------------------------------------------------------
#define TAVREL_FIELDS_TOptn(F) \
  F(OPSCHOOL, Int, 0) F(OPTYPE, Text, 1) F(OPMAINCODE, Int, 0) F(OPSUBCODE, Int, 0)
#define TAVREL_INDEXES_TOptn(I) \
  I(primary, true, "OPSCHOOL;OPTYPE;OPMAINCODE;OPSUBCODE") \
  I(OPSUBMAIN, true, "OPSCHOOL;OPTYPE;OPSUBCODE;OPMAINCODE")

// ---- 8 TTtbl: timetable cells -------------------------------------------------------------------
#define TAVREL_FIELDS_TTtbl(F) \
  F(TSCHOOL, Int, 0) F(TTYPE, Text, 1) F(TCLASS, Int, 0) F(TTEACHER, Int, 0) F(TSUBJECT, Int, 0) \
  F(TDAY, Int, 0) F(TLECTNO, Int, 0) F(TSCHL, Int, 0) F(TSTARTLECT, Int, 0) F(TENDLECT, Int, 0) \
  F(TSTARTDAY, Int, 0) F(TENDDAY, Int, 0) F(TCLUSTOT, Int, 0) F(TCLUSLECNO, Int, 0) \
  F(TSERIAL, Int, 0) F(TNOTETIME, Text, 8)
#define TAVREL_INDEXES_TTtbl(I) \
  I(primary, true, "TSCHOOL;TTYPE;TCLASS;TTEACHER;TSUBJECT;TDAY;TLECTNO") \
  I(TIMECLAS, false, "TSCHOOL;TTYPE;TCLASS;TDAY;TLECTNO") \
  I(TIMECSERL, false, "TSCHOOL;TTYPE;TCLASS;TSERIAL") \
  I(TIMESCHL, true, "TSCHOOL;TTYPE;TSCHL;TDAY;TLECTNO") \
  I(TIMESCLAS, false, "TSCHOOL;TTYPE;TSUBJECT;TCLASS;TDAY;TLECTNO") \
  I(TIMESERL, false, "TSCHOOL;TSERIAL;TTYPE") \
  I(TIMESSERL, false, "TSCHOOL;TTYPE;TSUBJECT;TSERIAL") \
  I(TIMESTEAC, false, "TSCHOOL;TTYPE;TSUBJECT;TTEACHER;TDAY;TLECTNO") \
  I(TIMESUBJ, false, "TSCHOOL;TTYPE;TSUBJECT;TDAY;TLECTNO") \
  I(TIMETEAC, false, "TSCHOOL;TTYPE;TTEACHER;TDAY;TLECTNO") \
  I(TIMETSERL, false, "TSCHOOL;TTYPE;TTEACHER;TSERIAL")

// ---- 9 TSchl: schools ---------------------------------------------------------------------------
#define TAVREL_FIELDS_TSchl(F) \
  F(SNAME, Text, 50) F(SCHOOLCODE, Int, 0) F(SREGN, Text, 10) F(SWRKDAYS, Int, 0) \
  F(SREMARK, Text, 50) F(SPREMARK, Text, 50) F(STOTLEC, Int, 0) F(SMAXLEC, Int, 0) \
  F(SRECESS, Text, 10) F(STOTCLS, Int, 0) F(STOTTCH, Int, 0) F(SALLSERIAL, Int, 0) \
  F(SSAVEDONE, Text, 1) F(SSAVESRL, Int, 0) F(SSAVEPOS, Text, 1) F(SDNALLOC, Int, 0) \
  F(SFLALLOC, Int, 0) F(SDNSAVE, Int, 0) F(SCLSSRL, Int, 0) F(STCHSRL, Int, 0) F(SSUBSRL, Int, 0)
#define TAVREL_INDEXES_TSchl(I) \
  I(primary, true, "SNAME") \
  I(SCLCODE, true, "SCHOOLCODE")

// ---- 10 TSDAll: periods of a subject allocated to a class per day -------------------------------
#define TAVREL_FIELDS_TSDAll(F) \
  F(SDSCHOOL, Int, 0) F(SDCLASS, Int, 0) F(SDSUBJECT, Int, 0) F(SDDAYNO, Int, 0) \
  F(SDOCCURN, Int, 0) F(SDALLOC, Int, 0)
#define TAVREL_INDEXES_TSDAll(I) I(primary, true, "SDSCHOOL;SDCLASS;SDSUBJECT;SDDAYNO")

// ---- 11 TTDAll: periods of a resource allocated to a class per day ------------------------------
#define TAVREL_FIELDS_TTDAll(F) \
  F(TDSCHOOL, Int, 0) F(TDCLASS, Int, 0) F(TDTEACHER, Int, 0) F(TDDAYNO, Int, 0) \
  F(TDOCCURN, Int, 0) F(TDALLOC, Int, 0)
#define TAVREL_INDEXES_TTDAll(I) I(primary, true, "TDSCHOOL;TDCLASS;TDTEACHER;TDDAYNO")

// ---- 16 TSctl: subjects used by a school --------------------------------------------------------
#define TAVREL_FIELDS_TSctl(F) \
  F(SCTSCHOOL, Int, 0) F(SCTCODE, Int, 0) F(SCTREQLEC, Int, 0) F(SCTTOTALL, Int, 0) \
  F(SCTNOTES, Memo, 0)
#define TAVREL_INDEXES_TSctl(I) \
  I(primary, true, "SCTSCHOOL;SCTCODE") \
  I(SUBSCHOOL, true, "SCTCODE;SCTSCHOOL")

// ---- 17 TTDMAll: periods allocated to a resource per day ----------------------------------------
#define TAVREL_FIELDS_TTDMAll(F) \
  F(TDASCHOOL, Int, 0) F(TDATEACHER, Int, 0) F(TDADAYNO, Int, 0) F(TDAALLOC, Int, 0)
#define TAVREL_INDEXES_TTDMAll(I) I(primary, true, "TDASCHOOL;TDATEACHER;TDADAYNO")

// ---- 18 TRPDay: days chosen for timetable printing ----------------------------------------------
#define TAVREL_FIELDS_TRPDay(F) F(RPDSCHL, Int, 0) F(RPDAY, Int, 0) F(RPDBOOL, Bool, 0)
#define TAVREL_INDEXES_TRPDay(I) I(primary, true, "RPDSCHL;RPDAY")

// ---- 19 TRPLect: periods chosen for timetable printing ------------------------------------------
#define TAVREL_FIELDS_TRPLect(F) F(RPLSCHL, Int, 0) F(RPLECT, Int, 0) F(RPLBOOL, Bool, 0)
#define TAVREL_INDEXES_TRPLect(I) I(primary, true, "RPLSCHL;RPLECT")

// ---- 20 TRPTime: clock times of the periods -----------------------------------------------------
#define TAVREL_FIELDS_TRPTime(F) F(RPTMSCHL, Int, 0) F(RPTMLECT, Int, 0) F(RPTMTIME, Text, 13)
#define TAVREL_INDEXES_TRPTime(I) \
  I(primary, true, "RPTMSCHL;RPTMLECT") \
  I(RPTMLECTNO, false, "RPTMLECT")

// ---- 21 TRPCode: items chosen for a report ------------------------------------------------------
#define TAVREL_FIELDS_TRPCode(F) F(RPTNAME, Text, 25) F(RPTCODE, Int, 0)
#define TAVREL_INDEXES_TRPCode(I) \
  I(primary, true, "RPTNAME") \
  I(BYCODE, true, "RPTCODE")

// ---- 22 TRPDate: day names and dates of the week cycle for reports ------------------------------
#define TAVREL_FIELDS_TRPDate(F) F(RPDSCHL, Int, 0) F(RPDNO, Int, 0) F(RPDDAY, Text, 12) F(RPDDATE, Date, 0)
#define TAVREL_INDEXES_TRPDate(I) I(primary, true, "RPDSCHL;RPDNO")

// ---- 23 TReps: catalogue of report names --------------------------------------------------------
#define TAVREL_FIELDS_TReps(F) F(REPNAME, Text, 35) F(REPCODE, Int, 0)
#define TAVREL_INDEXES_TReps(I) I(primary, true, "REPNAME")

// ---- 24 TRPara / 25 TAPara: working copies of indents for the engine ----------------------------
#define TAVREL_FIELDS_TRPara(F) \
  F(RSCHOOL, Int, 0) F(RSERIALNO, Int, 0) F(RCLASS, Int, 0) F(RTEACHER, Int, 0) F(RSUBJECT, Int, 0) \
  F(RNOOFLEC, Int, 0) F(RCLUSWEEK, Int, 0) F(RINCLUSOF, Int, 0) F(RSUBOCDAY, Int, 0) \
  F(RTCHOCDAY, Int, 0) F(RPRIORITY, Text, 1) F(RSTDAY, Int, 0) F(RENDAY, Int, 0) F(RSTLEC, Int, 0) \
  F(RENLEC, Int, 0) F(RNOLECALL, Int, 0) F(RLISTDAY, Text, 25) F(RLISTLEC, Text, 25) \
  F(RRECESS, Text, 1) F(RREARRNG, Text, 1)
#define TAVREL_INDEXES_TRPara(I) I(primary, true, "RSCHOOL;RSERIALNO")

#define TAVREL_FIELDS_TAPara(F) \
  F(PSCHOOL, Int, 0) F(PSERIALNO, Int, 0) F(PCLASS, Int, 0) F(PTEACHER, Int, 0) F(PSUBJECT, Int, 0) \
  F(PNOOFLEC, Int, 0) F(PCLUSWEEK, Int, 0) F(PINCLUSOF, Int, 0) F(PSUBOCDAY, Int, 0) \
  F(PTCHOCDAY, Int, 0) F(PPRIORITY, Text, 1) F(PSTDAY, Int, 0) F(PENDAY, Int, 0) F(PSTLEC, Int, 0) \
  F(PENLEC, Int, 0) F(PNOLECALL, Int, 0) F(PLISTDAY, Text, 25) F(PLISTLEC, Text, 25) \
  F(PRECESS, Text, 1) F(PREARRNG, Text, 1)
#define TAVREL_INDEXES_TAPara(I) I(primary, true, "PSCHOOL;PSERIALNO")

// ---- 26 TInst: the institution (one record) -----------------------------------------------------
#define TAVREL_FIELDS_TInst(F) \
  F(INSTITUTION, Text, 50) F(ISECTION, Int, 0) F(ISUBJECT, Int, 0) F(IDSUL_CLASS, Int, 0) \
  F(IDTUL_CLASS, Int, 0) F(IDTUL_DAY, Int, 0) F(IDTUL_WEEK, Int, 0) F(IDTSQUL, Int, 0) \
  F(ISUL_CLASS, Bool, 0) F(ITUL_CLASS, Bool, 0) F(ITUL_DAY, Bool, 0) F(ITSQUL, Bool, 0) \
  F(IASAVE, Bool, 0) F(IVIEW, Text, 1) F(IVIEWTIME, Int, 0)
#define TAVREL_INDEXES_TInst(I)

// ---- 28 TWin: help text of each window ----------------------------------------------------------
#define TAVREL_FIELDS_TWin(F) F(WINCODE, Text, 3) F(WINNAME, Text, 40) F(WINHMEMO, Memo, 0)
#define TAVREL_INDEXES_TWin(I) \
  I(primary, true, "WINCODE") \
  I(WINNM, true, "WINNAME")

// ---- 29 TBackHist: folders used for backups -----------------------------------------------------
#define TAVREL_FIELDS_TBackHist(F) F(BACK_DIR, Text, 45)
#define TAVREL_INDEXES_TBackHist(I) I(primary, true, "BACK_DIR")

// ---- 30 TProxy: proxy (substitute) assignments --------------------------------------------------
#define TAVREL_FIELDS_TProxy(F) \
  F(PXSCHOOL, Int, 0) F(PXBYSERIALNO, Int, 0) F(PXTYPE, Text, 1) F(PXFORCODE, Int, 0) \
  F(PXBYCODE, Int, 0) F(PXDATE, Date, 0)
#define TAVREL_INDEXES_TProxy(I) \
  I(primary, true, "PXSCHOOL;PXBYSERIALNO") \
  I(TYPBY, false, "PXSCHOOL;PXTYPE;PXBYCODE") \
  I(TYPFORBY, true, "PXSCHOOL;PXTYPE;PXFORCODE;PXBYCODE;PXBYSERIALNO")

// Every table: T(component, number, database, scope). The order is the declaration order the
// group operations walk. Database: Main is DBtvwin (live or sample folder), Window is DBtvw (always
// the live folder). Scope: School tables carry the school code in their first field.
#define TAVREL_ALL_TABLES(T) \
  T(TClas, 1, Main, School) \
  T(TTeac, 2, Main, School) \
  T(TSubj, 3, Main, Institution) \
  T(TAlloc, 4, Main, School) \
  T(TTOcc, 5, Main, School) \
  T(TSOcc, 6, Main, School) \
  T(TOptn, 7, Main, School) \
  T(TTtbl, 8, Main, School) \
  T(TSchl, 9, Main, Institution) \
  T(TSDAll, 10, Main, School) \
  T(TTDAll, 11, Main, School) \
  T(TSctl, 16, Main, School) \
  T(TTDMAll, 17, Main, School) \
  T(TRPDay, 18, Main, School) \
  T(TRPLect, 19, Main, School) \
  T(TRPTime, 20, Main, School) \
  T(TRPCode, 21, Window, None) \
  T(TRPDate, 22, Main, School) \
  T(TReps, 23, Window, None) \
  T(TRPara, 24, Main, School) \
  T(TAPara, 25, Main, School) \
  T(TInst, 26, Main, Institution) \
  T(TWin, 28, Window, None) \
  T(TBackHist, 29, Main, None) \
  T(TProxy, 30, Main, School)

// clang-format on
