// Number lists stored as text: a comma before each member, ascending, no closing comma, so the
// periods 1, 3 and 4 are stored as ",1,3,4" and the empty set as "". The constraint's day and
// period lists of an indent and the school's recess positions use this form.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel::store {

// The list of every member 1 to n (",1,2,...,n"); empty for n below 1. The list of 1 to 12 has 27
// characters and is cut to 25 in a list field, which `MakList` undoes.
std::string BldNoStr(int n);

// The members 1 to 12 of a stored list, as decimal texts in ascending order. Reads any text: a
// list that lost its final member 12 to the field width ends in a comma and gets it back.
std::vector<std::string> MakList(std::string_view list);

// `MakList` as numbers, for callers that compute with the members.
std::vector<int> listMembers(std::string_view list);

}  // namespace tavrel::store
