#include "core/store/comparisons.h"

namespace tavrel::store {

int IIF(int v, char op, int r, int t, int f) {
  switch (op) {
    case 'E':
      return v == r ? t : f;
    case 'L':
      return v < r ? t : f;
    case 'G':
      return v > r ? t : f;
    case 'A':
      return v <= r ? t : f;
    case 'B':
      return v >= r ? t : f;
    default:
      return f;
  }
}

int IIFSI(std::string_view s, char op, char c, int t, int f) {
  return op == 'E' && s == std::string_view(&c, 1) ? t : f;
}

char IIFIC(int v, char op, int r, char t, char f) {
  return op == 'E' && v == r ? t : f;
}

}  // namespace tavrel::store
