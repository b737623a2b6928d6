// The bridges between integer matrices and expression vectors.

#include <iostream>

#include "Expression.h"
#include "Inequation.h"
#include "Matrix.h"
#include "MatrixPrinter.h"
#include "Polyhedron.h"
#include "Stop.h"

namespace {

// acc + term as a new tree; acc and term are freed.
Expression* append_term(Expression* acc, Expression* term) {
  Expression* sum = new Expression(PLUS, acc, term);
  delete acc;
  delete term;
  return sum;
}

// expression * constant, or constant * expression with constant_left.
Expression* times(const Expression* e, int k, bool constant_left) {
  Expression constant(k);
  return constant_left ? new Expression(TIMES, &constant, e) : new Expression(TIMES, e, &constant);
}

// The universe with each v[i] pred 0 added in order.
Polyhedron* constrain_all(const std::vector<Expression*>& v, predicate_t pred) {
  Polyhedron* p = new Polyhedron();
  Expression zero(0);
  for (const Expression* e : v) {
    Inequation c(pred, e, &zero);
    p->add_constraint(&c);
  }
  return p;
}

}  // namespace

std::vector<std::vector<Expression*>> column_matrix(const std::vector<Expression*>& v) {
  std::vector<std::vector<Expression*>> m;
  for (const Expression* e : v) m.push_back({e->clone()});
  return m;
}

std::vector<Expression*> operator*(const std::vector<Expression*>& x, const IntMatrix& a) {
  if (a.empty() || x.empty()) stop(std::cout, "Matrix::*:empty vector or matrix");
  if (x.size() != a.size()) {
    std::cout << "Matrix::(tx * A):mismatch dimensions" << std::endl;
    std::cout << x << std::endl << a << std::endl;
    std::exit(1);
  }
  for (const auto& row : a)
    if (row.size() != a[0].size()) stop(std::cout, "Matrix::*: rows of unequal length");
  std::vector<Expression*> r;
  for (size_t j = 0; j < a[0].size(); ++j) {
    Expression* acc = new Expression(0);
    for (size_t i = 0; i < x.size(); ++i) acc = append_term(acc, times(x[i], a[i][j], false));
    r.push_back(acc);
  }
  return r;
}

std::vector<Expression*> operator*(const IntMatrix& a, const std::vector<Expression*>& x) {
  std::vector<Expression*> r;
  for (const auto& row : a) {
    if (row.size() != x.size()) stop(std::cerr, "Matrix::*(int_matrix, expression_vector): size mismatch");
  }
  for (const auto& row : a) {
    Expression* acc = new Expression(0);
    for (size_t j = 0; j < x.size(); ++j) acc = append_term(acc, times(x[j], row[j], true));
    r.push_back(acc);
  }
  return r;
}

Expression* operator*(const std::vector<Expression*>& x, const IntVector& a) {
  return (x * column_matrix(a))[0];
}

Expression* operator*(const IntVector& a, const std::vector<Expression*>& x) { return x * a; }

std::vector<Expression*> operator+(const std::vector<Expression*>& u, const std::vector<Expression*>& v) {
  if (u.size() != v.size()) stop(std::cout, "Matrix::+(vec<Expr,Expr>: mismatch vector size");
  std::vector<Expression*> r;
  for (size_t i = 0; i < u.size(); ++i) r.push_back(new Expression(PLUS, u[i], v[i]));
  return r;
}

std::vector<Expression*> operator+(const IntVector& u, const std::vector<Expression*>& v) {
  if (u.size() != v.size()) stop(std::cout, "Matrix::+(vec<int>,vec<Expr>): mismatch vector size");
  std::vector<Expression*> r;
  for (size_t i = 0; i < u.size(); ++i) {
    Expression constant(u[i]);
    r.push_back(new Expression(PLUS, &constant, v[i]));
  }
  return r;
}

std::vector<Expression*> operator+(const std::vector<Expression*>& u, const IntVector& v) {
  if (u.size() != v.size()) stop(std::cout, "Matrix::+(vec<Expr>,vec<int>): mismatch vector size");
  std::vector<Expression*> r;
  for (size_t i = 0; i < u.size(); ++i) {
    Expression constant(v[i]);
    r.push_back(new Expression(PLUS, u[i], &constant));
  }
  return r;
}

Inequation* equal_zero(Expression* e) {
  Expression zero(0);
  return new Inequation(EQ, e, &zero);
}

Inequation* positive(Expression* e) {
  Expression zero(0);
  return new Inequation(GREATER_EQ, e, &zero);
}

Polyhedron* equal_zero(const std::vector<Expression*>& v) { return constrain_all(v, EQ); }

Polyhedron* positive(const std::vector<Expression*>& v) { return constrain_all(v, GREATER_EQ); }
