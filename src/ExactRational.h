#ifndef TARVEX_EXACT_RATIONAL_H
#define TARVEX_EXACT_RATIONAL_H

// Exact arithmetic shared by the evaluations and the bit expansion of
// enumeration expressions (not a public interface). Ehrhart coefficients are
// fractions and their powers outgrow 32 bits long before the value of a
// count does, so values are kept as reduced fractions of 64-bit integers and
// every operation is checked: an overflow stops the run instead of yielding
// a wrong count.

// n / d with d > 0 and gcd(|n|, d) = 1.
struct ExactRational {
  long long n;
  long long d;
};

// The reduced fraction n / d; d must not be 0.
ExactRational exact_rational(long long n, long long d);
ExactRational operator+(ExactRational a, ExactRational b);
ExactRational operator-(ExactRational a, ExactRational b);
ExactRational operator*(ExactRational a, ExactRational b);
// b must not be 0.
ExactRational operator/(ExactRational a, ExactRational b);

// a + b and a * b in 64 bits; an overflow stops the run with `message` on
// standard error.
long long checked_add(long long a, long long b, const char* message);
long long checked_mul(long long a, long long b, const char* message);

// 1 when x fits an int.
int fits_int(long long x);

#endif
