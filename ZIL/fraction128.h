// Exact rationals over 128-bit integers for the block-offset bounds, whose
// sums of 64-bit fractions must be floored without rounding.
#ifndef TARVEX_ZIL_FRACTION128_H
#define TARVEX_ZIL_FRACTION128_H

// num / den, always reduced with den > 0.
struct Fraction128 {
  __int128 num, den;
};

// num / den for den != 0, reduced.
Fraction128 makeFraction(__int128 num, __int128 den);
Fraction128 addFractions(Fraction128 a, Fraction128 b);
__int128 floorFraction(Fraction128 a);
__int128 ceilFraction(Fraction128 a);

#endif
