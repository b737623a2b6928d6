// Left inverse in a context, inverses, composition of affine maps and
// orthogonal vectors: the integer algebra that goes through PolyLib or isl.

#include <iostream>

#include "ISLWrapper.h"
#include "Matrix.h"
#include "MatrixPrinter.h"
#include "PolylibWrapper.h"
#include "Stop.h"

namespace {

// The rank of a Smith normal form: its leading non-zero diagonal entries.
int smith_rank(const IntMatrix& s) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (i == s[i].size()) return static_cast<int>(i);
    if (s[i][i] == 0) return static_cast<int>(i);
  }
  return static_cast<int>(s.size());
}

// The function's rows followed by an integral basis of the context's row
// space (constant column included). A context of rank 0, all zero rows
// included, says nothing and adds no row.
IntMatrix with_context(const IntMatrix& t, const IntMatrix& a) {
  if (a.empty()) return t;
  if (a[0].size() != t[0].size())
    stop(std::cout, "Matrix::left_inverse: Dimension of context and function does not match.");
  std::vector<IntMatrix> usv = snf(a);
  int r = smith_rank(usv[1]);
  if (r == 0) return t;
  return concat_v(t, get_sub_matrix(usv[2], 0, 0, r, static_cast<int>(t[0].size())));
}

// The n x cols matrix with 1 at (i, i).
IntMatrix selection(int n, int cols) {
  IntMatrix p(n, IntVector(cols, 0));
  for (int i = 0; i < n && i < cols; ++i) p[i][i] = 1;
  return p;
}

// r rows of n zeros (r rows of nothing when n is 0).
IntMatrix null_columns(int r, int n) { return IntMatrix(r, IntVector(n, 0)); }

}  // namespace

std::vector<IntMatrix> snf(const IntMatrix& m) { return PolylibWrapper::snf(m); }

IntMatrix inverse(const IntMatrix& m) {
  IntMatrix r = PolylibWrapper::inv(m);
  // PolyLib scales the inverse of a non-unimodular matrix to integers and
  // drops the factor: such an answer is not an inverse.
  if (m * r != identity_matrix(static_cast<int>(m.size())))
    stop(std::cerr, "Matrix::inverse: matrix has no integer inverse");
  return r;
}

IntMatrix left_inverse(const IntMatrix& t, const IntMatrix& a) {
  if (t.empty()) stop(std::cerr, "Matrix::left_inverse: empty function");
  int n = static_cast<int>(t[0].size()) - 1, m = static_cast<int>(t.size());
  IntMatrix k = with_context(t, a);
  if (n == 0) return {};
  IntMatrix c = column_matrix(get_last_column(k));
  IntMatrix k_prime = remove_column(k, n);
  if (static_cast<int>(k_prime.size()) < n)
    stop(std::cerr,
         "Matrix::left_inverse: There is no rational left-inverse for this function in the given context.");
  std::vector<IntMatrix> usv = snf(k_prime);
  for (int i = 0; i < n; ++i) {
    if (usv[1][i][i] != 1) {
      std::cerr << "Matrix::left_inverse: There is no integer left-inverse for this function in the given context."
                << std::endl;
      std::cout << usv[1] << std::endl;
      std::exit(1);
    }
  }
  IntMatrix p = selection(n, static_cast<int>(k_prime.size()));
  IntMatrix l = (inverse(usv[2]) * p) * inverse(usv[0]);
  IntMatrix constant = (-1) * (l * c);
  // The columns of the context rows are dropped: those rows are 0 on the
  // context, and their effect stays in the constant.
  return concat(get_sub_matrix(l, 0, 0, n, m), constant);
}

IntMatrix compose(const IntMatrix& u, int nb_counters_u, int nb_parameters_u, const IntMatrix& v,
                  int nb_counters_v, int nb_parameters_v) {
  if (nb_parameters_u != nb_parameters_v) stop(std::cerr, "Matrix::compose: expect the same parameters for u and v");
  if (static_cast<int>(v.size()) != nb_counters_u) {
    std::cerr << "Matrix::compose: dimension mismatch: expect " << nb_counters_u << " found " << v.size()
              << std::endl;
    std::exit(1);
  }
  if (u.empty()) return u;
  if (static_cast<int>(u[0].size()) != nb_counters_u + nb_parameters_u + 1)
    stop(std::cerr, "Matrix::compose: incorrect nb_counters/parameters for matrix u");
  // u reads no counter: u after v is u over v's counters, none of them used.
  if (v.empty()) return concat(null_columns(static_cast<int>(u.size()), nb_counters_v), u);
  if (static_cast<int>(v[0].size()) != nb_counters_v + nb_parameters_v + 1)
    stop(std::cerr, "Matrix::compose: incorrect nb_counters/parameters for matrix v");
  int ru = static_cast<int>(u.size()), rv = static_cast<int>(v.size());
  IntMatrix a = get_sub_matrix(u, 0, 0, ru, nb_counters_u);
  IntMatrix b = get_sub_matrix(u, 0, nb_counters_u, ru, nb_parameters_u);
  IntMatrix c = get_sub_matrix(u, 0, nb_counters_u + nb_parameters_u, ru, 1);
  IntMatrix d = get_sub_matrix(v, 0, 0, rv, nb_counters_v);
  IntMatrix e = get_sub_matrix(v, 0, nb_counters_v, rv, nb_parameters_v);
  IntMatrix f = get_sub_matrix(v, 0, nb_counters_v + nb_parameters_v, rv, 1);
  return concat(concat(a * d, a * e + b), a * f + c);
}

IntMatrix right_inverse_isl(const IntMatrix& m) {
  if (m.empty()) return m;
  IntMatrix r = ISLWrapper::right_inverse(m);
  // isl answers with a square matrix of m's width; its first rows(m) columns
  // are the right inverse.
  r = get_sub_matrix(r, 0, 0, static_cast<int>(r.size()), static_cast<int>(m.size()));
  IntMatrix product = m * r;
  if (product != identity_matrix(static_cast<int>(m.size()))) {
    std::cout << "Matrix::right_inverse: multiple of identity: " << std::endl;
    std::cout << product << std::endl;
    std::exit(1);
  }
  return r;
}

IntMatrix left_inverse_isl(const IntMatrix& m) { return transpose(right_inverse_isl(transpose(m))); }

IntMatrix orth(const IntVector& v) {
  if (v.empty()) stop(std::cerr, "Matrix::orth: null vector");
  IntMatrix r;
  for (size_t p = 1; p < v.size(); ++p) {
    if (v[0] == 0 && v[p] == 0) continue;
    IntVector w(v.size(), 0);
    w[p] = -v[0];
    w[0] = v[p];
    r.push_back(w);
  }
  return r;
}
