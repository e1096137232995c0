#include "core/engine/parameters.h"

namespace tavrel::engine {

store::TAPara allocationParameters(const store::TAlloc& indent, int periods, const std::string& kind) {
  return store::TAPara{.PSCHOOL = indent.ASCHOOL,
                       .PSERIALNO = indent.ASERIALNO,
                       .PCLASS = indent.ACLASS,
                       .PTEACHER = indent.ATEACHER,
                       .PSUBJECT = indent.ASUBJECT,
                       .PNOOFLEC = periods,
                       .PCLUSWEEK = indent.ACLUSWEEK,
                       .PINCLUSOF = indent.AINCLUSOF,
                       .PSUBOCDAY = indent.ASUBOCDAY,
                       .PTCHOCDAY = indent.ATCHOCDAY,
                       .PPRIORITY = indent.APRIORITY,
                       .PSTDAY = indent.ASTDAY,
                       .PENDAY = indent.AENDAY,
                       .PSTLEC = indent.ASTLEC,
                       .PENLEC = indent.AENLEC,
                       .PNOLECALL = 0,
                       .PLISTDAY = indent.ALISTDAY,
                       .PLISTLEC = indent.ALISTLEC,
                       .PRECESS = indent.ARECESS,
                       .PREARRNG = kind};
}

store::TRPara rearrangeParameters(const store::TAlloc& indent, int missing, const std::string& pass) {
  return store::TRPara{.RSCHOOL = indent.ASCHOOL,
                       .RSERIALNO = indent.ASERIALNO,
                       .RCLASS = indent.ACLASS,
                       .RTEACHER = indent.ATEACHER,
                       .RSUBJECT = indent.ASUBJECT,
                       .RNOOFLEC = missing,
                       .RCLUSWEEK = indent.ACLUSWEEK,
                       .RINCLUSOF = indent.AINCLUSOF,
                       .RSUBOCDAY = indent.ASUBOCDAY,
                       .RTCHOCDAY = indent.ATCHOCDAY,
                       .RPRIORITY = indent.APRIORITY,
                       .RSTDAY = indent.ASTDAY,
                       .RENDAY = indent.AENDAY,
                       .RSTLEC = indent.ASTLEC,
                       .RENLEC = indent.AENLEC,
                       .RNOLECALL = 0,
                       .RLISTDAY = indent.ALISTDAY,
                       .RLISTLEC = indent.ALISTLEC,
                       .RRECESS = indent.ARECESS,
                       .RREARRNG = pass};
}

}  // namespace tavrel::engine
