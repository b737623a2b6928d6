#ifndef TARVEX_QUASI_POLYNOMIAL_H
#define TARVEX_QUASI_POLYNOMIAL_H

// Exact quasi-polynomials of the parameters, for checking and remaking
// Ehrhart counts: on each class of the parameter values modulo a period per
// parameter, a polynomial of bounded total degree with rational
// coefficients. Points are full parameter vectors (position k is the
// parameter of rank k); a quasi-polynomial may speak of some of them only.

#include <gmpxx.h>

#include <map>
#include <vector>

#include "PolylibWrapper.h"

typedef std::vector<long> ParameterPoint;

// The exact value of a PolyLib quasi-polynomial at the point (PolyLib's
// parameter position k + 1 is the point's position k).
mpq_class value_at(const YEB_evalue* e, const ParameterPoint& point);
// The period of e in each of nb_parameters parameters: the lcm of the sizes
// of its periodic numbers in that parameter (1 where it has none).
std::vector<long> periods_of(const YEB_evalue* e, int nb_parameters);
// Every vector of nb_variables exponents (or grid steps) >= 0 whose sum is
// at most `degree`.
std::vector<std::vector<int>> exponent_vectors(size_t nb_variables, int degree);

class QuasiPolynomial {
 public:
  // Over the parameters listed in `variables`, with periods[k] the period
  // in variables[k], of total degree at most `degree`; zero at first.
  QuasiPolynomial(std::vector<int> variables, std::vector<long> periods, int degree);
  // Takes, class by class, a polynomial through the values at the points
  // (any one where they do not determine it); false, the quasi-polynomial
  // unchanged, when none goes through them all.
  bool fit(const std::vector<ParameterPoint>& points, const std::vector<mpz_class>& values);
  // The quasi-polynomial in PolyLib's nested form (polynomials in one
  // parameter whose coefficients are periodic numbers in it), as new records
  // owned by the caller; a numerator or denominator beyond 64 bits stops the
  // run with `failure` on standard error.
  YEB_evalue* to_evalue(const char* failure) const;

 private:
  typedef std::vector<long> Residues;  // one per variable
  typedef std::vector<int> Exponents;  // one per variable

  Residues class_of(const ParameterPoint& point) const;
  // The node of variables[k] onward, with the residues and exponents of the
  // variables before k fixed.
  YEB_evalue* node(size_t k, Residues& residues, Exponents& exponents, const char* failure) const;

  std::vector<int> variables;
  std::vector<long> periods;
  int degree;
  std::vector<Exponents> monomials;  // total degree <= degree
  // Class -> coefficient of each monomial; an absent class is zero.
  std::map<Residues, std::vector<mpq_class>> coefficients;
};

#endif
