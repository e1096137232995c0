#include "core/indents/priority.h"

#include <algorithm>
#include <string_view>

#include "core/indents/indent_facts.h"
#include "core/store/encoded_lists.h"
#include "core/store/lookups.h"

namespace tavrel::indents {

using namespace store;

namespace {

int itemsListed(std::string_view list) {
  return static_cast<int>(std::count(list.begin(), list.end(), ','));
}

struct Flags {
  bool constraint;
  bool group;
  bool partTime;
  bool noRecess;
};

char regularLetter(const Flags& f) {
  if (f.constraint && f.group) return 'H';
  if (f.constraint && f.partTime) return 'O';
  if (f.constraint) return 'Y';
  if (f.group) return 'K';
  if (f.partTime) return 'P';
  return 'Z';
}

char clusterLetter(const Flags& f) {
  if (f.constraint && f.group) return 'D';
  if (f.constraint && f.partTime) return 'M';
  if (f.constraint && f.noRecess) return 'S';
  if (f.constraint) return 'U';
  if (f.group) return 'E';
  if (f.partTime) return 'N';
  if (f.noRecess) return 'T';
  return 'V';
}

// The constraint's slots that the owner has available: each listed day with each listed period.
int usableSlots(Store& store, const TAlloc& indent, OwnerKind kind, int owner) {
  const std::vector<int> days = listMembers(indent.ALISTDAY);
  const std::vector<int> periods = listMembers(indent.ALISTLEC);
  int usable = 0;
  for (int day : days) {
    for (int period : periods) {
      auto row = slotRow(store, indent.ASCHOOL, kind, owner, day, period);
      if (row && row->TSUBJECT != 0) ++usable;
    }
  }
  return usable;
}

}  // namespace

PinKind FigureOnlyOne(const TAlloc& indent) {
  const int wanted = isCluster(indent) ? indent.AINCLUSOF : 1;
  if (itemsListed(indent.ALISTLEC) == wanted) return PinKind::ByPeriods;
  if (itemsListed(indent.ALISTDAY) == 1) return PinKind::ByDay;
  return PinKind::Free;
}

PinKind pinKindOf(const TAlloc& indent) {
  return hasConstraint(indent) ? FigureOnlyOne(indent) : PinKind::Free;
}

char FigurePrior(Store& store, const TAlloc& indent) {
  const int school = indent.ASCHOOL;
  const Flags flags{hasConstraint(indent),
                    isGroup(store, school, OwnerKind::Class, indent.ACLASS) ||
                        isGroup(store, school, OwnerKind::Resource, indent.ATEACHER),
                    L_ATEACHERPT(store, indent) == "Y", indent.ARECESS == "N"};
  char letter = isCluster(indent) ? clusterLetter(flags) : regularLetter(flags);
  // A constraint that leaves the class (or the resource) no more slots than the indent has periods
  // pins every one of them: the indent must be placed before anything takes those slots.
  if (flags.constraint &&
      (usableSlots(store, indent, OwnerKind::Class, indent.ACLASS) <= indent.ANOOFLEC ||
       usableSlots(store, indent, OwnerKind::Resource, indent.ATEACHER) <= indent.ANOOFLEC)) {
    letter = 'A';
  }
  if (isRegularOnePerDay(indent)) {
    if (letter > 'X') {
      letter = flags.constraint ? 'W' : 'X';
    } else if (letter == 'H') {
      letter = 'F';
    } else if (letter == 'K') {
      letter = 'G';
    }
  }
  return letter;
}

int FigureTyp(Store& store, const TAlloc& indent, char viewKind) {
  const int school = indent.ASCHOOL;
  const bool classGroup = isGroup(store, school, OwnerKind::Class, indent.ACLASS);
  const bool resourceGroup = isGroup(store, school, OwnerKind::Resource, indent.ATEACHER);
  bool groupInView = false;
  switch (viewKind) {
    case 'C':
      groupInView = resourceGroup;
      break;
    case 'T':
      groupInView = classGroup;
      break;
    default:
      groupInView = classGroup || resourceGroup;
      break;
  }
  int code = 1;
  if (hasConstraint(indent)) code += 1;
  if (groupInView) code += 2;
  if (indent.ARECESS == "N") code += 4;
  if (isCluster(indent)) code += 8;
  if (isProxyIndent(store, school, indent.ASERIALNO)) code += 50;
  return code;
}

bool isConstrainedPriority(char letter) {
  return std::string_view("DFHMUWY").find(letter) != std::string_view::npos;
}

}  // namespace tavrel::indents
