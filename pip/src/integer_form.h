// Affine forms over the parameters with integer divisions, as isl writes
// the constraints of a parameter set, evaluated at integer parameter points
// without isl: the tree builder asks on which side of a test a point lies
// far more often than it asks isl anything else.
#ifndef TARVEX_PIP_INTEGER_FORM_H
#define TARVEX_PIP_INTEGER_FORM_H

#include <string>
#include <vector>

#include "isl_handle.h"

// An integer parameter point (one value per parameter).
typedef std::vector<long long> PipPoint;

// floor(a / d) for d > 0.
__int128 pip_floor_div(__int128 a, __int128 d);

class PipIntegerForm {
 public:
  // The form of aff (borrowed: integer coefficients, divisions with integer
  // numerators over the parameters and earlier divisions). A coefficient
  // beyond 64 bits leaves the form unusable: it has no sign and no relation
  // to other forms, and the caller asks isl.
  PipIntegerForm(isl_ctx *ctx, isl_aff *aff);

  // Sets *sign to the sign of the form at point and returns true; returns
  // false when an intermediate value leaves 127 bits (the caller then asks
  // isl).
  bool sign_at(const PipPoint &point, int *sign) const;

  // Whether form >= 0 and other >= 0 have no common point, seen from their
  // terms alone: opposite terms and constants summing below 0.
  bool excludes(const PipIntegerForm &other) const;

  // Whether form >= 0 implies other >= 0, seen from their terms alone: the
  // same terms and a constant at least as large in other.
  bool implies(const PipIntegerForm &other) const;

  // Marks in (*directions)[i] the ways form >= 0 may bound parameter i in
  // the rational relaxation of its set, divisions eliminated: bit 1 from
  // below (a positive coefficient), bit 2 from above (a negative one), both
  // for a parameter in a division's numerator, whose two defining
  // inequalities bound it either way. A parameter some set of forms does
  // not mark both ways is unbounded on that set.
  void mark_directions(std::vector<int> *directions) const;

 private:
  // floor((num . (parameters, earlier divisions) + constant) / den), den > 0.
  struct Division {
    std::vector<long long> num;
    long long constant;
    long long den;
  };

  bool exact_ = true;                    // every number below fits 64 bits
  std::vector<long long> coefficients_;  // parameters, then divisions
  long long constant_;
  std::vector<Division> divisions_;
  // The non-zero terms written out, each parameter and each division named
  // by its definition whatever isl's numbering; and those of the opposite
  // form.
  std::string terms_;
  std::string opposite_terms_;
};

// The coordinates of point (borrowed, over the parameters), or false when
// one does not fit 64 bits.
bool pip_point_of(isl_ctx *ctx, isl_point *point, int np, PipPoint *out);

#endif
