#include "ExactRational.h"

#include <climits>
#include <iostream>
#include <numeric>

#include "Stop.h"

namespace {

const char* const kOverflow = "EnumerationExpression: arithmetic overflow";

long long add(long long a, long long b) { return checked_add(a, b, kOverflow); }
long long mul(long long a, long long b) { return checked_mul(a, b, kOverflow); }

// n / d reduced, with a positive denominator. The most negative value has
// no opposite, so it counts as an overflow.
ExactRational reduced(long long n, long long d) {
  if (n == LLONG_MIN || d == LLONG_MIN) stop(std::cerr, kOverflow);
  if (d < 0) {
    n = -n;
    d = -d;
  }
  long long g = std::gcd(n, d);
  return ExactRational{n / g, d / g};
}

}  // namespace

ExactRational exact_rational(long long n, long long d) { return reduced(n, d); }

// Over the least common denominator, so that the products stay as small as
// the operands allow.
ExactRational operator+(ExactRational a, ExactRational b) {
  long long g = std::gcd(a.d, b.d);
  long long n = add(mul(a.n, b.d / g), mul(b.n, a.d / g));
  return reduced(n, mul(a.d, b.d / g));
}

// Cross-reduced first: the result is then reduced already.
ExactRational operator*(ExactRational a, ExactRational b) {
  long long g1 = std::gcd(a.n, b.d), g2 = std::gcd(b.n, a.d);
  return reduced(mul(a.n / g1, b.n / g2), mul(a.d / g2, b.d / g1));
}

ExactRational operator-(ExactRational a, ExactRational b) { return a + reduced(mul(b.n, -1), b.d); }

ExactRational operator/(ExactRational a, ExactRational b) { return a * reduced(b.d, b.n); }

long long checked_add(long long a, long long b, const char* message) {
  long long sum;
  if (__builtin_add_overflow(a, b, &sum)) stop(std::cerr, message);
  return sum;
}

long long checked_mul(long long a, long long b, const char* message) {
  long long product;
  if (__builtin_mul_overflow(a, b, &product)) stop(std::cerr, message);
  return product;
}

int fits_int(long long x) { return x >= INT_MIN && x <= INT_MAX; }
