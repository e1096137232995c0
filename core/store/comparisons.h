// Comparison helpers of the allocation engine: a comparison folded into a value, so that counts
// and flags read as one expression. Operator letters: E (=), L (<), G (>), A (<=), B (>=); an
// unknown letter never holds, so the if-false value comes back.
#pragma once

#include <string_view>

namespace tavrel::store {

// t when `v op r` holds, else f.
int IIF(int v, char op, int r, int t, int f);

// t when op is E and the text is exactly the one-character text of c, else f.
int IIFSI(std::string_view s, char op, char c, int t, int f);

// The character t when op is E and v = r, else f.
char IIFIC(int v, char op, int r, char t, char f);

}  // namespace tavrel::store
