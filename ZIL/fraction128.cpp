// Contract checks of the tiling library stay active in every build type.
#undef NDEBUG

#include "fraction128.h"

#include <cassert>

static __int128 absolute(__int128 a) { return a < 0 ? -a : a; }

static __int128 gcd128(__int128 a, __int128 b) {
  a = absolute(a);
  b = absolute(b);
  while (b != 0) {
    __int128 r = a % b;
    a = b;
    b = r;
  }
  return a;
}

Fraction128 makeFraction(__int128 num, __int128 den) {
  assert(den != 0);
  if (den < 0) {
    num = -num;
    den = -den;
  }
  __int128 g = gcd128(num, den);
  return Fraction128{num / g, den / g};
}

Fraction128 addFractions(Fraction128 a, Fraction128 b) {
  return makeFraction(a.num * b.den + b.num * a.den, a.den * b.den);
}

__int128 floorFraction(Fraction128 a) {
  __int128 q = a.num / a.den;
  return (a.num % a.den != 0 && a.num < 0) ? q - 1 : q;
}

__int128 ceilFraction(Fraction128 a) { return -floorFraction(Fraction128{-a.num, a.den}); }
