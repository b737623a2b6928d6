#include <gtest/gtest.h>

#include "PolyhedronTestSupport.h"
#include "CoreTest.h"
#include "Expression.h"
#include "Inequation.h"
#include "Matrix.h"
#include "Polyhedron.h"

namespace {

std::vector<std::string> texts(const std::vector<Expression*>& v) {
  std::vector<std::string> r;
  for (const Expression* e : v) r.push_back(text(e));
  return r;
}

}  // namespace

class MatrixExpression : public CoreTest {};

TEST_F(MatrixExpression, ProductsAreUnsimplifiedLeftNestedChains) {
  Expression* n = par("N");
  Expression* i = var("i");
  std::vector<Expression*> x{n};
  std::vector<Expression*> r = x * IntMatrix{{3}};
  EXPECT_EQ(texts(r), (std::vector<std::string>{"0+(N*3)"}));
  del(r);
  r = IntMatrix{{3}} * x;
  EXPECT_EQ(texts(r), (std::vector<std::string>{"0+(3*N)"}));
  del(r);
  std::vector<Expression*> y{n, i};
  r = y * IntMatrix{{1, 0}, {2, 5}};
  EXPECT_EQ(texts(r), (std::vector<std::string>{"(0+(N*1))+(i*2)", "(0+(N*0))+(i*5)"}));
  del(r);
  r = IntMatrix{{1, 2}} * y;
  EXPECT_EQ(texts(r), (std::vector<std::string>{"(0+(1*N))+(2*i)"}));
  del(r);
  EXPECT_TRUE((IntMatrix{} * y).empty());
  Expression* e = IntVector{4, 5} * y;
  EXPECT_EQ(text(e), "(0+(N*4))+(i*5)");
  delete e;
  e = y * IntVector{4, 5};
  EXPECT_EQ(text(e), "(0+(N*4))+(i*5)");
  delete e;
  // The operands stay the caller's and unchanged.
  EXPECT_EQ(text(n), "N");
  delete n;
  delete i;
}

TEST_F(MatrixExpression, SumsAndColumns) {
  Expression* n = par("N");
  std::vector<Expression*> x{n};
  std::vector<Expression*> r = x + x;
  EXPECT_EQ(texts(r), (std::vector<std::string>{"N+N"}));
  del(r);
  r = IntVector{2} + x;
  EXPECT_EQ(texts(r), (std::vector<std::string>{"2+N"}));
  del(r);
  r = x + IntVector{2};
  EXPECT_EQ(texts(r), (std::vector<std::string>{"N+2"}));
  del(r);
  auto column = column_matrix(x);
  ASSERT_EQ(column.size(), 1u);
  EXPECT_NE(column[0][0], n);
  EXPECT_EQ(text(column[0][0]), "N");
  delete column[0][0];
  delete n;
}

TEST_F(MatrixExpression, Stops) {
  Expression* n = par("N");
  std::vector<Expression*> x{n};
  ChildRun r = run_in_child([&] { x * IntMatrix{}; });
  EXPECT_EQ(r.out, "Matrix::*:empty vector or matrix\n");
  EXPECT_EQ(r.status, 1);
  r = run_in_child([&] { x * IntMatrix{{1}, {2}}; });
  EXPECT_EQ(r.out.rfind("Matrix::(tx * A):mismatch dimensions\n", 0), 0u);
  EXPECT_EQ(r.out.substr(r.out.size() - 15), "\n\n2 1\n1  \n2  \n\n");
  r = run_in_child([&] { IntMatrix{{1, 2}} * x; });
  EXPECT_EQ(r.err, "Matrix::*(int_matrix, expression_vector): size mismatch\n");
  r = run_in_child([&] { x + std::vector<Expression*>{}; });
  EXPECT_EQ(r.out, "Matrix::+(vec<Expr,Expr>: mismatch vector size\n");
  r = run_in_child([&] { IntVector{} + x; });
  EXPECT_EQ(r.out, "Matrix::+(vec<int>,vec<Expr>): mismatch vector size\n");
  r = run_in_child([&] { x + IntVector{}; });
  EXPECT_EQ(r.out, "Matrix::+(vec<Expr>,vec<int>): mismatch vector size\n");
  delete n;
}

TEST_F(MatrixExpression, ConstraintsFromExpressions) {
  Expression* n = par("N");
  Expression* i = var("i");
  Inequation* c = equal_zero(n);
  EXPECT_EQ(c->pred, EQ);
  EXPECT_NE(c->lhs, n);
  delete c;
  c = positive(i);
  EXPECT_EQ(c->pred, GREATER_EQ);
  delete c;
  std::vector<Expression*> v{n, i};
  Polyhedron* p = equal_zero(v);
  EXPECT_EQ(text_of([&](std::ostream& os) { os << *p; }), "/\n| N = 0\n| i = 0\n\\\n");
  delete p;
  p = positive(v);
  EXPECT_EQ(text_of([&](std::ostream& os) { os << *p; }), "/\n| N >= 0\n| i >= 0\n\\\n");
  delete p;
  delete n;
  delete i;
}
