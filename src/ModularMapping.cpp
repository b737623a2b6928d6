#include "ModularMapping.h"

#include <climits>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Matrix.h"
#include "MatrixPrinter.h"
#include "Options.h"
#include "Stop.h"

namespace {

const std::string kFullRank = "ModularMapping(lattice): lattice must have full rank";

// Entries of `row` reduced into 0 .. modulus - 1.
std::vector<int> reduced(std::vector<int> row, int modulus) {
  for (int& entry : row) entry = (entry % modulus + modulus) % modulus;
  return row;
}

}  // namespace

ModularMapping::ModularMapping(int n) : A(identity_matrix(n)) {
  if (Options::print_mappings) std::cout << "No mapping." << std::endl << std::endl;
}

ModularMapping::ModularMapping(std::vector<std::vector<int>> A, int) : A(std::move(A)) {}

ModularMapping::ModularMapping(std::vector<std::vector<int>> A, std::vector<int> b)
    : A(std::move(A)), has_modulo(1), b(std::move(b)) {
  check_moduli();
  trace();
}

ModularMapping::ModularMapping(std::vector<std::vector<int>> A, std::vector<Expression*> b_expr)
    : A(std::move(A)), has_modulo_expr(1), b_expr(clone_ve(b_expr)) {
  check_moduli();
  trace();
}

// With L = U·S·V (Smith form, U and V unimodular), the lattice is the set
// of w·V with w_k a multiple of s_k. A difference d is in it exactly when
// entry k of (V^-1)^T·d is a multiple of s_k: A = (V^-1)^T and b_k = |s_k|.
// Reducing row k of A modulo b_k keeps the mapping and makes A·i >= 0 for
// non-negative i.
ModularMapping::ModularMapping(std::vector<std::vector<int>> lattice) : has_modulo(1) {
  if (lattice.empty() || lattice[0].empty()) stop(std::cout, "ModularMapping(lattice): empty lattice");
  size_t n = lattice[0].size();
  if (lattice.size() < n) stop(std::cout, kFullRank);
  for (const std::vector<int>& row : lattice)
    if (row.size() != n) stop(std::cout, kFullRank);
  std::vector<std::vector<std::vector<int>>> usv = snf(lattice);
  std::vector<std::vector<int>> a = transpose(inverse(usv[2]));
  for (size_t k = 0; k < n; k++) {
    int s = std::abs(usv[1][k][k]);
    if (s == 0) stop(std::cout, kFullRank);
    b.push_back(s);
    A.push_back(reduced(a[k], s));
  }
  trace();
}

ModularMapping::~ModularMapping() { del(b_expr); }

void ModularMapping::check_moduli() const {
  bool sound = (!has_modulo || b.size() == A.size()) && (!has_modulo_expr || b_expr.size() == A.size());
  for (const std::vector<int>& row : A) sound = sound && row.size() == A[0].size();
  if (!sound) stop(std::cerr, "ModularMapping: one modulus per row of A expected");
}

void ModularMapping::trace() {
  if (!Options::print_mappings) return;
  print();
  std::cout << std::endl;
}

IndexFunction* ModularMapping::apply(IndexFunction* f) {
  check_moduli();
  IndexFunction* linear = new IndexFunction(f->surrounding_counters, A * f->to_matrix());
  if (!has_modulo && !has_modulo_expr) return linear;
  IndexFunction* g = has_modulo ? linear->add_modulos(b) : linear->add_modulos_expr(b_expr);
  delete linear;
  return g;
}

int ModularMapping::is_id() { return b.empty() && b_expr.empty(); }

void ModularMapping::keep_last(int n) {
  size_t rows = A.size();
  bool square = (!has_modulo || b.size() == rows) && (b_expr.empty() || b_expr.size() == rows);
  for (const std::vector<int>& row : A) square = square && row.size() == rows;
  if (!square || n < 0 || n > static_cast<int>(rows))
    stop(std::cerr, "ModularMapping::keep_last: square matrix and 0 <= n <= dimension expected");
  int first = static_cast<int>(rows) - n;
  A = n ? get_sub_matrix(A, first, first, n, n) : std::vector<std::vector<int>>();
  if (has_modulo) b.erase(b.begin(), b.begin() + first);
  if (!b_expr.empty()) {
    del(std::vector<Expression*>(b_expr.begin(), b_expr.begin() + first));
    b_expr.erase(b_expr.begin(), b_expr.begin() + first);
  }
}

ModularMapping* ModularMapping::max(ModularMapping* m1, ModularMapping* m2) {
  if (m2->is_id()) return m1->clone();
  if (m1->is_id()) return m2->clone();
  m1->check_moduli();
  m2->check_moduli();
  if (m1->has_modulo != m2->has_modulo || m1->has_modulo_expr != m2->has_modulo_expr)
    stop(std::cerr, "ModularMapping::max: incompatible modulos (constant vs expression)");
  if (m1->dim() != m2->dim()) stop(std::cerr, "ModularMapping::max: incompatible dimensions");
  // Another storage function would map live cells of either side together.
  if (m1->A != m2->A) stop(std::cerr, "ModularMapping::max: incompatible matrices");
  if (m1->has_modulo) {
    std::vector<int> b;
    for (int k = 0; k < m1->dim(); k++) b.push_back(max_int(m1->b[k], m2->b[k]));
    return new ModularMapping(m1->A, b);
  }
  if (!m1->has_modulo_expr) return new ModularMapping(m1->A, 0);
  std::vector<Expression*> b_expr;
  for (int k = 0; k < m1->dim(); k++) b_expr.push_back(new Expression(MAX, m1->b_expr[k], m2->b_expr[k]));
  ModularMapping* result = new ModularMapping(m1->A, b_expr);
  del(b_expr);
  return result;
}

void ModularMapping::increment(ModularMapping* m) {
  if (m->has_modulo)
    for (int& modulus : m->b) modulus++;
  if (!m->has_modulo_expr) return;
  Expression one(1);
  for (Expression*& modulus : m->b_expr) {
    Expression* old = modulus;
    modulus = new Expression(PLUS, old, &one);
    delete old;
  }
}

void ModularMapping::closest_pow2(ModularMapping* m) {
  if (m->has_modulo_expr) stop(std::cerr, "ModularMapping::closest_pow2: constant modulos expected");
  for (int& modulus : m->b) {
    // 2^30 is the largest power of two an int holds.
    if (modulus > (1 << 30)) stop(std::cerr, "ModularMapping::closest_pow2: modulus too large");
    int p = 1;
    while (p < modulus) p *= 2;
    modulus = p;
  }
}

void ModularMapping::upper_bound(ModularMapping* m, Polyhedron* context) {
  m->bound_moduli(context, "upper_bound", 0);
}

void ModularMapping::upper_bound_inc(ModularMapping* m, Polyhedron* context) {
  m->bound_moduli(context, "upper_bound_inc", 1);
}

// Expression::upper_bound answers -1 (empty context), -2 (negative maximum)
// or -3 (no constant maximum) where it finds no bound. Taken as moduli,
// these or a bound of 0 would give a mapping of no or negative size: each
// stops the run instead.
void ModularMapping::bound_moduli(Polyhedron* context, const std::string& who, int inc) {
  if (!has_modulo_expr) return;
  check_moduli();
  std::vector<int> bounds;
  for (size_t k = 0; k < b_expr.size(); k++) {
    Expression* modulus = b_expr[k];
    // Only e + 1 keeps the bound of its left operand, plus 1, an upper
    // bound of the whole.
    if (inc && !(modulus->is_op(PLUS) && modulus->fd->is_value(1)))
      stop(std::cerr, "ModularMapping::upper_bound_inc: modulus of the form e+1 expected");
    long long bound = (inc ? modulus->fg : modulus)->upper_bound(context);
    long long cells = bound + inc;
    if (bound < 0 || cells < 1 || cells > INT_MAX) {
      std::ostringstream message;
      message << "ModularMapping::" << who << ": no constant upper bound for modulus " << k << ": " << *modulus;
      stop(std::cerr, message.str());
    }
    bounds.push_back(static_cast<int>(cells));
  }
  b = bounds;
  has_modulo = 1;
  has_modulo_expr = 0;
}

ModularMapping* ModularMapping::clone() {
  if (has_modulo) return new ModularMapping(A, b);
  if (has_modulo_expr) return new ModularMapping(A, b_expr);
  return new ModularMapping(A, 0);
}

int ModularMapping::dim() {
  if (has_modulo) return static_cast<int>(b.size());
  if (has_modulo_expr) return static_cast<int>(b_expr.size());
  return static_cast<int>(A.size());
}

int ModularMapping::size() {
  if (!has_modulo) {
    std::cerr << "ModularMapping::size(): no modulos" << std::endl;
    return -1;
  }
  check_moduli();
  long long product = 1;
  for (int modulus : b) {
    product *= modulus;
    if (product > INT_MAX || product < INT_MIN) {
      std::cerr << "ModularMapping::size(): size out of int range" << std::endl;
      return -1;
    }
  }
  return static_cast<int>(product);
}

// ---------------------------------------------------------------------------
// Text forms

void ModularMapping::write_rows(std::ostream& os, const std::string& row_end) {
  check_moduli();
  for (size_t k = 0; k < A.size(); k++) {
    os << "  i_" << k << " --> ";
    bool first = true;
    for (size_t j = 0; j < A[k].size(); j++) {
      int a = A[k][j];
      if (a == 0) continue;
      if (a > 0 && !first) os << " + ";
      if (a < 0) os << (first ? "-" : " - ");
      if (a != 1) os << std::abs(a);
      os << "i_" << j;
      first = false;
    }
    if (has_modulo) os << " mod " << b[k];
    if (has_modulo_expr) os << " mod " << *b_expr[k];
    os << row_end;
  }
}

std::string ModularMapping::to_string() {
  std::ostringstream text;
  write_rows(text, ", ");
  return text.str();
}

std::ostream& operator<<(std::ostream& os, ModularMapping& m) {
  m.write_rows(os, "\\n");
  return os;
}

std::ostream& operator<<(std::ostream& os, std::map<std::string, ModularMapping*> mappings) {
  for (auto& named : mappings) os << "Array " << named.first << std::endl << *named.second << std::endl << std::endl;
  return os;
}

void ModularMapping::print() {
  check_moduli();
  std::cout << "(" << std::endl << "A = " << std::endl;
  MatrixPrinter::print_vec_vec(A);
  if (has_modulo) {
    std::cout << "b = " << std::endl;
    MatrixPrinter::print_vec(b);
  } else if (has_modulo_expr) {
    std::cout << "b = ";
    for (Expression* modulus : b_expr) std::cout << *modulus << std::endl;
    std::cout << std::endl;
  }
  std::cout << ")" << std::endl;
}

void ModularMapping::print_matrices(std::ostream* sout) {
  if (has_modulo_expr) stop(std::cerr, "ModularMapping::print_matrices: expect constant modulos");
  check_moduli();
  if (A.empty())
    *sout << "0 0" << std::endl;
  else
    *sout << A.size() << " " << A[0].size() << std::endl;
  for (const std::vector<int>& row : A) {
    for (int entry : row) *sout << entry << " ";
    *sout << std::endl;
  }
  *sout << std::endl;
  if (!has_modulo) {
    *sout << "0 1" << std::endl;
    return;
  }
  *sout << b.size() << " 1" << std::endl;
  for (int modulus : b) *sout << modulus << std::endl;
}

int max_int(int a, int b) { return a < b ? b : a; }
