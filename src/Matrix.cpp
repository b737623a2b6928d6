#include "Matrix.h"

#include <cstdlib>
#include <iostream>

#include "MatrixPrinter.h"
#include "Stop.h"

namespace {

int width(const IntMatrix& m) { return m.empty() ? 0 : static_cast<int>(m[0].size()); }
int rows(const IntMatrix& m) { return static_cast<int>(m.size()); }

// True when every row is exactly as long as the first.
bool rectangular(const IntMatrix& m) {
  for (const auto& row : m)
    if (static_cast<int>(row.size()) != width(m)) return false;
  return true;
}

// Shared checks of fill and fill_acc: nothing may be written before they pass.
void check_block_target(const IntMatrix& m, const IntMatrix& b, int i, int j) {
  if (m.empty()) stop(std::cout, "Matrix::fill: The matrix to be filled is too small (empty)");
  if (rows(b) + i > rows(m) || width(b) + j > width(m))
    stop(std::cout, "Matrix::fill: The matrix to be filled is too small");
  if (i < 0 || j < 0) stop(std::cout, "Matrix::fill: negative position");
  if (!rectangular(m) || !rectangular(b)) stop(std::cout, "Matrix::fill: rows of unequal length");
}

}  // namespace

IntMatrix null_matrix(int r, int c) {
  if (r < 1 || c < 1) stop(std::cout, "Matrix::null_matrix: dimensions must be > 0");
  return IntMatrix(r, IntVector(c, 0));
}

IntMatrix identity_matrix(int n) {
  if (n < 0) stop(std::cout, "Matrix::identity_matrix: dimension must be >= 0");
  IntMatrix m(n, IntVector(n, 0));
  for (int i = 0; i < n; ++i) m[i][i] = 1;
  return m;
}

IntVector null_vector(int n) { return IntVector(n < 0 ? 0 : n, 0); }

IntVector unity_vector(int n) {
  if (n < 1) stop(std::cerr, "Matrix::unity_vector: size must be > 0");
  IntVector v(n, 0);
  v[n - 1] = 1;
  return v;
}

IntMatrix column_matrix(const IntVector& v) {
  IntMatrix m;
  for (int x : v) m.push_back({x});
  return m;
}

IntVector column_matrix_to_vector(const IntMatrix& m) {
  IntVector v;
  for (const auto& row : m) {
    if (row.size() != 1) stop(std::cerr, "Matrix::column_matrix_to_vector: not a single col matrix");
    v.push_back(row[0]);
  }
  return v;
}

IntMatrix transpose(const IntMatrix& m) {
  if (m.empty()) return m;
  if (!rectangular(m)) stop(std::cerr, "Matrix::transpose: rows of unequal length");
  IntMatrix t(width(m), IntVector(rows(m)));
  for (int i = 0; i < rows(m); ++i)
    for (int j = 0; j < width(m); ++j) t[j][i] = m[i][j];
  return t;
}

IntVector sub_vector(const IntVector& v, int start, int n) {
  if (start < 0 || n < 0 || start + n > static_cast<int>(v.size()))
    stop(std::cerr, "Matrix::sub_vector: range beyond the vector");
  return IntVector(v.begin() + start, v.begin() + start + n);
}

IntVector get_column(const IntMatrix& m, int j) {
  IntVector v;
  for (const auto& row : m) {
    if (j < 0 || j >= static_cast<int>(row.size())) stop(std::cerr, "Matrix::get_column: column out of range");
    v.push_back(row[j]);
  }
  return v;
}

IntVector get_last_column(const IntMatrix& m) {
  if (m.empty()) stop(std::cout, "Matrix::get_last_column: empty matrix");
  return get_column(m, width(m) - 1);
}

IntMatrix get_sub_matrix(const IntMatrix& m, int i, int j, int h, int w) {
  if (m.empty()) stop(std::cout, "Matrix::get_sub_matrix: empty matrice");
  if (rows(m) < i + h) stop(std::cout, "Matrix::get_sub_matrix: not enough lines");
  if (width(m) < j + w) stop(std::cout, "Matrix::get_sub_matrix: not enough columns");
  if (i < 0 || j < 0 || h < 0 || w < 0) stop(std::cout, "Matrix::get_sub_matrix: negative position or size");
  IntMatrix b(h, IntVector(w));
  for (int a = 0; a < h; ++a) {
    if (static_cast<int>(m[i + a].size()) < j + w) stop(std::cout, "Matrix::get_sub_matrix: not enough columns");
    for (int c = 0; c < w; ++c) b[a][c] = m[i + a][j + c];
  }
  return b;
}

IntMatrix get_sub_matrix(const IntMatrix& m, const std::set<int>& s) {
  if (!rectangular(m)) stop(std::cout, "Matrix::get_sub_matrix: rows of unequal length");
  IntMatrix r;
  for (const auto& row : m) {
    IntVector kept;
    for (int j : s)
      if (j >= 0 && j < width(m)) kept.push_back(row[j]);
    r.push_back(kept);
  }
  return r;
}

IntMatrix remove_null_lines(const IntMatrix& m) {
  IntMatrix r;
  for (const auto& row : m)
    if (!is_null_vec(row)) r.push_back(row);
  return r;
}

IntMatrix remove_column(const IntMatrix& m, int j) {
  IntMatrix r;
  for (IntVector row : m) {
    if (j >= 0 && j < static_cast<int>(row.size())) row.erase(row.begin() + j);
    r.push_back(row);
  }
  return r;
}

IntMatrix remove_columns(const IntMatrix& m, const std::set<int>& s) {
  IntMatrix r;
  for (const auto& row : m) {
    IntVector kept;
    for (int j = 0; j < static_cast<int>(row.size()); ++j) {
      if (!s.count(j)) {
        kept.push_back(row[j]);
      } else if (row[j] != 0) {
        std::cerr << "Matrix::remove_columns: warning: skipping non-null element" << std::endl;
      }
    }
    r.push_back(kept);
  }
  return r;
}

IntMatrix remove_last_column(const IntMatrix& m) {
  if (m.empty()) stop(std::cout, "Matrix::remove_last_column: empty matrix");
  return remove_column(m, width(m) - 1);
}

IntMatrix remove_lines(const IntMatrix& m, int i, int j) {
  IntMatrix r;
  for (int k = 0; k < rows(m); ++k)
    if (k < i || k > j) r.push_back(m[k]);
  return r;
}

IntMatrix insert_null_columns(const IntMatrix& m, const IntVector& pos, int n) {
  IntMatrix r;
  for (const auto& row : m) {
    if (pos.size() > row.size()) stop(std::cerr, "Matrix::insert_null_columns: more positions than columns");
    IntVector wide(n < 0 ? 0 : n, 0);
    for (size_t k = 0; k < pos.size(); ++k) {
      if (pos[k] < 0 || pos[k] >= n) stop(std::cerr, "Matrix::insert_null_columns: position out of range");
      wide[pos[k]] = row[k];
    }
    r.push_back(wide);
  }
  return r;
}

IntMatrix concat(const IntMatrix& a, const IntMatrix& b) {
  if (a.size() != b.size()) stop(std::cerr, "Matrix::concat: dimension mistmatch");
  IntMatrix r = a;
  for (size_t i = 0; i < r.size(); ++i) r[i].insert(r[i].end(), b[i].begin(), b[i].end());
  return r;
}

IntMatrix concat(const IntMatrix& m, const IntVector& v) {
  if (m.size() != v.size()) stop(std::cerr, "Matrix::concat: dimension mistmatch");
  IntMatrix r = m;
  for (size_t i = 0; i < r.size(); ++i) r[i].push_back(v[i]);
  return r;
}

IntMatrix concat_v(const IntMatrix& a, const IntMatrix& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  if (width(a) != width(b)) stop(std::cerr, "Matrix::concat_v: dimension mistmatch");
  IntMatrix r = a;
  r.insert(r.end(), b.begin(), b.end());
  return r;
}

IntMatrix permute_lines(const IntMatrix& m, const IntVector& p) {
  if (p.size() != m.size()) stop(std::cerr, "Matrix::permute_lines: bad permutation size");
  IntMatrix r;
  for (int k : p) {
    if (k < 0 || k >= rows(m)) stop(std::cerr, "Matrix::permute_lines: entry out of range");
    r.push_back(m[k]);
  }
  return r;
}

IntVector invert_permutation(const IntVector& p) {
  IntVector r(p.size(), 0);
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] < 0 || p[i] >= static_cast<int>(p.size()))
      stop(std::cerr, "Matrix::invert_permutation: entry out of range");
    r[p[i]] = static_cast<int>(i);
  }
  return r;
}

IntVector mask_vector(const IntVector& v, const std::set<int>& s) {
  IntVector r(v.size(), 0);
  for (size_t i = 0; i < v.size(); ++i)
    if (s.count(static_cast<int>(i))) r[i] = v[i];
  return r;
}

IntVector mask_vector_complement(const IntVector& v, const std::set<int>& s) {
  IntVector r(v.size(), 0);
  for (size_t i = 0; i < v.size(); ++i)
    if (!s.count(static_cast<int>(i))) r[i] = v[i];
  return r;
}

std::set<int> vec_to_set(const IntVector& v) { return std::set<int>(v.begin(), v.end()); }

void fill(IntMatrix& m, IntMatrix b, int i, int j) {
  if (b.empty()) return;
  check_block_target(m, b, i, j);
  for (int a = 0; a < rows(b); ++a)
    for (int c = 0; c < width(b); ++c) m[i + a][j + c] = b[a][c];
}

void fill_acc(IntMatrix& m, IntMatrix b, int i, int j) {
  if (b.empty()) return;
  check_block_target(m, b, i, j);
  for (int a = 0; a < rows(b); ++a)
    for (int c = 0; c < width(b); ++c) m[i + a][j + c] += b[a][c];
}

void fill(IntMatrix& m, IntVector v, int i, int j) {
  if (v.empty()) return;
  if (m.empty()) stop(std::cout, "Matrix::fill: The matrix to be filled is too small (empty)");
  if (static_cast<int>(v.size()) + i > rows(m)) stop(std::cout, "Matrix::fill: The matrix to be filled is too small");
  if (i < 0) stop(std::cout, "Matrix::fill: negative position");
  for (size_t k = 0; k < v.size(); ++k)
    if (j < 0 || j >= static_cast<int>(m[i + k].size())) stop(std::cout, "Matrix::fill: column out of range");
  for (size_t k = 0; k < v.size(); ++k) m[i + k][j] = v[k];
}

IntMatrix operator*(const IntMatrix& a, const IntMatrix& b) {
  if (a.empty() || b.empty()) stop(std::cout, "Matrix::*: empty matrices");
  if (width(a) != rows(b)) {
    std::cout << "Matrix::*: mismatch matrices" << std::endl;
    std::cout << a << std::endl << b << std::endl;
    std::exit(1);
  }
  if (!rectangular(a) || !rectangular(b)) stop(std::cout, "Matrix::*: rows of unequal length");
  IntMatrix c(rows(a), IntVector(width(b), 0));
  for (int i = 0; i < rows(a); ++i)
    for (int j = 0; j < width(b); ++j)
      for (int k = 0; k < width(a); ++k) c[i][j] += a[i][k] * b[k][j];
  return c;
}

IntVector operator*(const IntMatrix& a, const IntVector& v) {
  return column_matrix_to_vector(a * column_matrix(v));
}

IntVector operator*(const IntVector& x, const IntMatrix& a) {
  if (a.empty() || x.empty()) stop(std::cout, "Matrix::*:empty vector or matrix");
  if (static_cast<int>(x.size()) != rows(a)) {
    std::cout << "Matrix::(tx * A):mismatch dimensions" << std::endl;
    std::cout << x << std::endl << a << std::endl;
    std::exit(1);
  }
  if (!rectangular(a)) stop(std::cout, "Matrix::*: rows of unequal length");
  IntVector r(width(a), 0);
  for (int j = 0; j < width(a); ++j)
    for (int i = 0; i < rows(a); ++i) r[j] += x[i] * a[i][j];
  return r;
}

IntMatrix operator*(int k, const IntMatrix& a) {
  IntMatrix r;
  for (const auto& row : a) r.push_back(k * row);
  return r;
}

IntVector operator*(int k, const IntVector& v) {
  IntVector r = v;
  for (int& x : r) x *= k;
  return r;
}

IntMatrix operator+(const IntMatrix& a, const IntMatrix& b) {
  if (a.size() != b.size()) stop(std::cerr, "Matrix::+: line number mismatch");
  if (!a.empty() && width(a) != width(b)) stop(std::cerr, "Matrix::+: column number mismatch");
  // Every row is walked over the first row's width, so a shorter row of either
  // side would be read past its end.
  if (!rectangular(a) || !rectangular(b)) stop(std::cerr, "Matrix::+: column number mismatch");
  IntMatrix c = a;
  for (int i = 0; i < rows(a); ++i)
    for (int j = 0; j < width(a); ++j) c[i][j] += b[i][j];
  return c;
}

IntMatrix operator-(const IntMatrix& a, const IntMatrix& b) { return a + (-1) * b; }

IntMatrix operator-(const IntMatrix& a) { return (-1) * a; }

IntVector operator-(const IntVector& v) { return (-1) * v; }

IntVector operator+(const IntVector& u, const IntVector& v) {
  if (u.size() != v.size()) stop(std::cout, "Matrix::+(vec<int>,vec<int>): mismatch vector size");
  IntVector r = u;
  for (size_t i = 0; i < r.size(); ++i) r[i] += v[i];
  return r;
}

IntVector operator+(int k, const IntVector& v) {
  if (v.empty()) stop(std::cout, "Matrix::+: null vector size");
  IntVector r = v;
  r.back() += k;
  return r;
}

int is_null_col(const IntMatrix& m, int j) {
  for (int x : get_column(m, j))
    if (x != 0) return 0;
  return 1;
}

int is_null_vec(const IntVector& v) {
  for (int x : v)
    if (x != 0) return 0;
  return 1;
}

int belong_vec(int x, const IntVector& v) {
  for (int y : v)
    if (y == x) return 1;
  return 0;
}

int sub_vec(const IntVector& a, const IntVector& b) {
  if (a.size() != b.size()) stop(std::cerr, "Matrix::sub_vec: vector size mismatch");
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != 0 && a[i] != b[i]) return 0;
  return 1;
}

std::ostream& operator<<(std::ostream& out, const std::vector<std::vector<long>>& m) {
  out << m.size() << " " << (m.empty() ? 0 : m[0].size()) << std::endl;
  for (const auto& row : m) {
    for (long x : row) out << x << "  ";
    out << std::endl;
  }
  return out;
}

std::ostream& operator<<(std::ostream& out, const std::list<std::vector<std::vector<long>>>& l) {
  out << "[" << std::endl;
  for (const auto& m : l) out << m << std::endl;
  out << "]" << std::endl;
  return out;
}

std::ostream& operator<<(std::ostream& out, const std::vector<IntMatrix>& v) {
  for (size_t k = 0; k < v.size(); ++k) out << k << ": " << std::endl << v[k] << std::endl;
  return out;
}
