#include "QuasiPolynomial.h"

#include <cstdlib>
#include <iostream>
#include <numeric>

#include "Stop.h"

namespace {

// x mod p in 0 .. p - 1, for either sign of x.
long residue(long x, long p) { return ((x % p) + p) % p; }

YEB_evalue* rational_leaf(const mpq_class& q, const char* failure) {
  if (!q.get_num().fits_slong_p() || !q.get_den().fits_slong_p()) stop(std::cerr, failure);
  YEB_evalue* e = static_cast<YEB_evalue*>(std::malloc(sizeof(YEB_evalue)));
  e->d = q.get_den().get_si();
  e->x.n = q.get_num().get_si();
  return e;
}

YEB_evalue* node_of(YEB_enode_type type, int pos, const std::vector<YEB_evalue*>& entries) {
  YEB_enode* n = static_cast<YEB_enode*>(std::malloc(sizeof(YEB_enode)));
  n->type = type;
  n->size = entries.size();
  n->pos = pos;
  n->arr = static_cast<YEB_evalue**>(std::malloc(entries.size() * sizeof(YEB_evalue*)));
  std::copy(entries.begin(), entries.end(), n->arr);
  YEB_evalue* e = static_cast<YEB_evalue*>(std::malloc(sizeof(YEB_evalue)));
  e->d = 0;
  e->x.p = n;
  return e;
}

bool same(const YEB_evalue* a, const YEB_evalue* b) {
  if (a->d != b->d) return false;
  if (a->d != 0) return a->x.n == b->x.n;
  const YEB_enode *m = a->x.p, *n = b->x.p;
  if (m->type != n->type || m->size != n->size || m->pos != n->pos) return false;
  for (int i = 0; i < m->size; ++i)
    if (!same(m->arr[i], n->arr[i])) return false;
  return true;
}

bool is_zero(const YEB_evalue* e) { return e->d != 0 && e->x.n == 0; }

// The one entry when all are equal (the others released), else the
// periodic number of them.
YEB_evalue* periodic_or_single(int pos, std::vector<YEB_evalue*> entries) {
  for (size_t i = 1; i < entries.size(); ++i)
    if (!same(entries[0], entries[i])) return node_of(YEB_periodic, pos, entries);
  for (size_t i = 1; i < entries.size(); ++i) free_evalue(entries[i]);
  return entries[0];
}

void collect_periods(const YEB_evalue* e, std::vector<long>& periods) {
  if (e->d != 0) return;
  const YEB_enode* n = e->x.p;
  if (n->type == YEB_periodic) periods.at(n->pos - 1) = std::lcm(periods.at(n->pos - 1), long(n->size));
  for (int i = 0; i < n->size; ++i) collect_periods(n->arr[i], periods);
}

void all_monomials(size_t nb_variables, int degree, std::vector<int>& current, std::vector<std::vector<int>>& out) {
  if (current.size() == nb_variables) {
    out.push_back(current);
    return;
  }
  for (int a = 0; a <= degree; ++a) {
    current.push_back(a);
    all_monomials(nb_variables, degree - a, current, out);
    current.pop_back();
  }
}

// Some solution of the linear system whose rows are [coefficients | value],
// free unknowns taken as 0; false when the system has none.
bool solve(std::vector<std::vector<mpq_class>> rows, size_t nb_unknowns, std::vector<mpq_class>& solution) {
  std::vector<size_t> pivot_column;
  size_t rank = 0;
  for (size_t c = 0; c < nb_unknowns && rank < rows.size(); ++c) {
    size_t p = rank;
    while (p < rows.size() && rows[p][c] == 0) ++p;
    if (p == rows.size()) continue;
    std::swap(rows[p], rows[rank]);
    for (size_t r = 0; r < rows.size(); ++r) {
      if (r == rank || rows[r][c] == 0) continue;
      mpq_class factor = rows[r][c] / rows[rank][c];
      for (size_t k = c; k <= nb_unknowns; ++k) rows[r][k] -= factor * rows[rank][k];
    }
    pivot_column.push_back(c);
    ++rank;
  }
  for (size_t r = rank; r < rows.size(); ++r)
    if (rows[r][nb_unknowns] != 0) return false;
  solution.assign(nb_unknowns, 0);
  for (size_t r = 0; r < rank; ++r) solution[pivot_column[r]] = rows[r][nb_unknowns] / rows[r][pivot_column[r]];
  return true;
}

}  // namespace

mpq_class value_at(const YEB_evalue* e, const ParameterPoint& point) {
  if (e->d != 0) {
    mpq_class q(mpz_class(static_cast<long>(e->x.n)), mpz_class(static_cast<long>(e->d)));
    q.canonicalize();
    return q;
  }
  const YEB_enode* n = e->x.p;
  long x = point.at(n->pos - 1);
  if (n->type == YEB_periodic) return value_at(n->arr[residue(x, n->size)], point);
  if (n->type != YEB_polynomial) stop(std::cout, "Expression::from_enode: evector (!) not handled");
  mpq_class sum = 0;
  mpz_class power = 1;
  for (int i = 0; i < n->size; ++i, power *= x) sum += value_at(n->arr[i], point) * power;
  return sum;
}

std::vector<std::vector<int>> exponent_vectors(size_t nb_variables, int degree) {
  std::vector<int> current;
  std::vector<std::vector<int>> all;
  all_monomials(nb_variables, degree, current, all);
  return all;
}

std::vector<long> periods_of(const YEB_evalue* e, int nb_parameters) {
  std::vector<long> periods(nb_parameters, 1);
  collect_periods(e, periods);
  return periods;
}

QuasiPolynomial::QuasiPolynomial(std::vector<int> variables, std::vector<long> periods, int degree)
    : variables(variables), periods(periods), degree(degree), monomials(exponent_vectors(variables.size(), degree)) {}

QuasiPolynomial::Residues QuasiPolynomial::class_of(const ParameterPoint& point) const {
  Residues r;
  for (size_t k = 0; k < variables.size(); ++k) r.push_back(residue(point.at(variables[k]), periods[k]));
  return r;
}

bool QuasiPolynomial::fit(const std::vector<ParameterPoint>& points, const std::vector<mpz_class>& values) {
  std::map<Residues, std::vector<std::vector<mpq_class>>> systems;
  for (size_t i = 0; i < points.size(); ++i) {
    std::vector<mpq_class> row;
    for (const Exponents& e : monomials) {
      mpz_class product = 1;
      for (size_t k = 0; k < variables.size(); ++k) {
        mpz_class power;
        mpz_pow_ui(power.get_mpz_t(), mpz_class(points[i].at(variables[k])).get_mpz_t(), e[k]);
        product *= power;
      }
      row.push_back(product);
    }
    row.push_back(values[i]);
    systems[class_of(points[i])].push_back(row);
  }
  std::map<Residues, std::vector<mpq_class>> found;
  for (const auto& system : systems)
    if (!solve(system.second, monomials.size(), found[system.first])) return false;
  coefficients = found;
  return true;
}

YEB_evalue* QuasiPolynomial::to_evalue(const char* failure) const {
  Residues residues;
  Exponents exponents;
  return node(0, residues, exponents, failure);
}

YEB_evalue* QuasiPolynomial::node(size_t k, Residues& residues, Exponents& exponents, const char* failure) const {
  if (k == variables.size()) {
    auto c = coefficients.find(residues);
    if (c == coefficients.end()) return rational_leaf(0, failure);
    for (size_t m = 0; m < monomials.size(); ++m)
      if (monomials[m] == exponents) return rational_leaf(c->second[m], failure);
    return rational_leaf(0, failure);
  }
  int used = std::accumulate(exponents.begin(), exponents.end(), 0);
  int pos = variables[k] + 1;
  std::vector<YEB_evalue*> by_degree;
  for (int a = 0; a <= degree - used; ++a) {
    std::vector<YEB_evalue*> by_residue;
    exponents.push_back(a);
    for (long r = 0; r < periods[k]; ++r) {
      residues.push_back(r);
      by_residue.push_back(node(k + 1, residues, exponents, failure));
      residues.pop_back();
    }
    exponents.pop_back();
    by_degree.push_back(periodic_or_single(pos, by_residue));
  }
  while (by_degree.size() > 1 && is_zero(by_degree.back())) {
    free_evalue(by_degree.back());
    by_degree.pop_back();
  }
  if (by_degree.size() == 1) return by_degree[0];
  return node_of(YEB_polynomial, pos, by_degree);
}
