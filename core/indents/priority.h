// The priority letter of an indent, how firmly its constraint pins it, and the type code its grid
// cell is drawn with.
//
// The engine takes active indents in letter order, A first: the letter says how hard an indent is
// to place. An indent whose constraint leaves it no more usable slots than it has periods is
// "specific" (A) and goes first; otherwise the letter follows from its kind (regular or cluster) and
// what makes it harder: a constraint, a group class or resource, a part-time resource, no recess.
#pragma once

#include "core/store/session.h"

namespace tavrel::indents {

// How a constrained indent's constraint fixes it (`FigureOnlyOne`): by its time of day when the
// period list holds exactly one period (a cluster: exactly its cluster size), else by its day
// when the day list holds exactly one day.
enum class PinKind { Free = -1, ByPeriods = 0, ByDay = 1 };

// Counts the list items the way the stored text holds them: one comma before every item.
PinKind FigureOnlyOne(const store::TAlloc& indent);

// The pin kind `Validate` works with: `Free` for an indent without constraint.
PinKind pinKindOf(const store::TAlloc& indent);

// `FigurePrior`: the letter for the indent as it now stands.
char FigurePrior(store::Store& store, const store::TAlloc& indent);

// `FigureTyp`: the indent's type code, 1 to 16, plus 50 for a proxy indent:
// 1 + 1 (constraint) + 2 (group in the view) + 4 (`ARECESS` "N") + 8 (cluster). A group in the
// view is the resource in class view, the class in resource view, either in subject view.
int FigureTyp(store::Store& store, const store::TAlloc& indent, char viewKind);

// The letters of constrained indents that the priority revision may raise to B.
bool isConstrainedPriority(char letter);

}  // namespace tavrel::indents
