// The display labels of the fields that people edit as numbers. They are column titles and the
// quoted names in the validation messages, so they are kept exactly, leading, trailing and
// doubled blanks included (the two sequence-continuity labels differ by one blank).
#pragma once

#include <string_view>

namespace tavrel::store {

enum class LabelledField {
  TMAXLEC,
  TMAXLECWK,
  TMAXCON,
  ANOOFLEC,
  ACLUSWEEK,
  AINCLUSOF,
  TOCCURENCE,
  SOCCURENCE,
  IDSUL_CLASS,
  IDTUL_CLASS,
  IDTUL_DAY,
  IDTUL_WEEK,
  IDTSQUL,
};

std::string_view fieldLabel(LabelledField field);

}  // namespace tavrel::store
