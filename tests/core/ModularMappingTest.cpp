#include <cstdlib>
#include <random>
#include <set>
#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "ModularMapping.h"
#include "Options.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

// Counters i, j (ranks 0, 1), parameters N, M; no traces.
class ModularMappingTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    register_names({"i", "j"}, {"N", "M"});
    Options::print_mappings = 0;
  }
  void TearDown() override { Options::print_mappings = 0; }

  static std::string text(ModularMapping& m) {
    std::ostringstream out;
    out << m;
    return out.str();
  }
  static std::string matrices(ModularMapping& m) {
    std::ostringstream out;
    m.print_matrices(&out);
    return out.str();
  }
  static std::string printed(ModularMapping& m) {
    testing::internal::CaptureStdout();
    m.print();
    return testing::internal::GetCapturedStdout();
  }
  // Moduli N and M.
  static ModularMapping* symbolic(Rows A) {
    Expression n("N");
    Expression m("M");
    return new ModularMapping(A, std::vector<Expression*>{&n, &m});
  }
};

TEST_F(ModularMappingTest, TextForms) {
  ModularMapping m({{1, 0}, {0, 2}}, std::vector<int>{4, 8});
  EXPECT_EQ(m.to_string(), "  i_0 --> i_0 mod 4,   i_1 --> 2i_1 mod 8, ");
  EXPECT_EQ(text(m), "  i_0 --> i_0 mod 4\\n  i_1 --> 2i_1 mod 8\\n");
  EXPECT_EQ(matrices(m), "2 2\n1 0 \n0 2 \n\n2 1\n4\n8\n");
  ModularMapping plain({{1, 0}, {0, 2}}, 0);
  EXPECT_EQ(matrices(plain), "2 2\n1 0 \n0 2 \n\n0 1\n");
  ModularMapping none(Rows{}, 0);
  EXPECT_EQ(matrices(none), "0 0\n\n0 1\n");

  // Signs and magnitudes: only +1 loses its magnitude.
  ModularMapping row({{0, -1, 1}}, std::vector<int>{6});
  EXPECT_EQ(text(row), "  i_0 --> -1i_1 + i_2 mod 6\\n");
  ModularMapping rows({{2, 0}, {1, -1}, {0, 0}, {-3, 1}}, 0);
  EXPECT_EQ(text(rows), "  i_0 --> 2i_0\\n  i_1 --> i_0 - 1i_1\\n  i_2 --> \\n  i_3 --> -3i_0 + i_1\\n");

  ModularMapping* sym = symbolic({{1, 0}, {0, 1}});
  EXPECT_EQ(sym->to_string(), "  i_0 --> i_0 mod N,   i_1 --> i_1 mod M, ");
  std::ostringstream arrays;
  arrays << std::map<std::string, ModularMapping*>{{"b", &m}, {"a", sym}};
  EXPECT_EQ(arrays.str(), "Array a\n" + text(*sym) + "\n\nArray b\n" + text(m) + "\n\n");

  // The debug form in its three states.
  EXPECT_EQ(printed(m), "(\nA = \n1  0  \n0  2  \nb = \n4  8  \n)\n");
  EXPECT_EQ(printed(*sym), "(\nA = \n1  0  \n0  1  \nb = N\nM\n\n)\n");
  EXPECT_EQ(printed(plain), "(\nA = \n1  0  \n0  2  \n)\n");
  EXPECT_STOP_ON_STDERR(sym->print_matrices(&std::cout), "ModularMapping::print_matrices: expect constant modulos");
  delete sym;
}

TEST_F(ModularMappingTest, TracesWhileMappingsArePrinted) {
  Options::print_mappings = 1;
  testing::internal::CaptureStdout();
  ModularMapping identity(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "No mapping.\n\n");
  testing::internal::CaptureStdout();
  ModularMapping plain({{1}}, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  testing::internal::CaptureStdout();
  ModularMapping m({{1}}, std::vector<int>{3});
  ModularMapping* copy = m.clone();
  ModularMapping* sym = symbolic({{1, 0}, {0, 1}});
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(\nA = \n1  \nb = \n3  \n)\n\n(\nA = \n1  \nb = \n3  \n)\n\n(\nA = \n1  0  \n0  1  \nb = N\nM\n\n)\n\n");
  EXPECT_EQ(identity.A, (Rows{{1, 0}, {0, 1}}));
  delete copy;
  delete sym;
}

TEST_F(ModularMappingTest, DimensionsSizesAndIdentity) {
  ModularMapping identity(3);
  EXPECT_EQ(identity.is_id(), 1);
  EXPECT_EQ(identity.dim(), 3);
  ModularMapping m({{1, 0}, {0, 2}}, std::vector<int>{4, 8});
  EXPECT_EQ(m.is_id(), 0);
  EXPECT_EQ(m.dim(), 2);
  EXPECT_EQ(m.size(), 32);
  ModularMapping* sym = symbolic({{1, 0}, {0, 1}});
  EXPECT_EQ(sym->dim(), 2);
  testing::internal::CaptureStderr();
  EXPECT_EQ(sym->size(), -1);
  EXPECT_EQ(identity.size(), -1);
  // 2048^3 does not fit an int.
  ModularMapping big({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, std::vector<int>{2048, 2048, 2048});
  EXPECT_EQ(big.size(), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ModularMapping::size(): no modulos\nModularMapping::size(): no modulos\n"
            "ModularMapping::size(): size out of int range\n");
  ModularMapping fits({{1, 0}, {0, 1}}, std::vector<int>{46340, 46340});
  EXPECT_EQ(fits.size(), 46340 * 46340);
  delete sym;
}

TEST_F(ModularMappingTest, ApplyToAnAccess) {
  IndexFunction f(std::vector<int>{0, 1});  // (i, j)
  ModularMapping m({{1, 1}}, std::vector<int>{4});
  IndexFunction* g = m.apply(&f);
  ASSERT_EQ(g->size(), 1);
  EXPECT_EQ(g->surrounding_counters, (std::vector<int>{0, 1}));
  EXPECT_TRUE(g->index_mapping[0]->is_op(MOD));
  EXPECT_EQ(g->index_mapping[0]->evaluate_int({{0, 3}, {1, 2}}, {}), 1);
  delete g;
  ModularMapping linear({{2, -1}}, 0);
  g = linear.apply(&f);
  EXPECT_EQ(g->index_mapping[0]->to_vector(), (std::vector<int>{2, -1, 0, 0, 0}));
  delete g;
  ModularMapping* sym = symbolic({{1, 0}, {0, 1}});
  g = sym->apply(&f);
  EXPECT_EQ(g->index_mapping[1]->evaluate_int({{0, 3}, {1, 7}}, {{0, 5}, {1, 4}}), 3);
  delete g;
  delete sym;
}

TEST_F(ModularMappingTest, CombiningModuli) {
  ModularMapping a({{1, 0}, {0, 1}}, std::vector<int>{4, 3});
  ModularMapping b({{1, 0}, {0, 1}}, std::vector<int>{2, 5});
  ModularMapping* both = ModularMapping::max(&a, &b);
  EXPECT_EQ(both->A, (Rows{{1, 0}, {0, 1}}));
  EXPECT_EQ(both->b, (std::vector<int>{4, 5}));
  delete both;
  // Without moduli one side gives a copy of the other, its matrix included.
  ModularMapping skew({{1, 1}, {0, 1}}, std::vector<int>{2, 5});
  ModularMapping id(2);
  for (ModularMapping* copy : {ModularMapping::max(&id, &skew), ModularMapping::max(&skew, &id)}) {
    EXPECT_EQ(copy->A, skew.A);
    EXPECT_EQ(copy->b, skew.b);
    delete copy;
  }
  ModularMapping* n_m = symbolic({{1, 0}, {0, 1}});
  ModularMapping* n_m2 = symbolic({{1, 0}, {0, 1}});
  ModularMapping* sym = ModularMapping::max(n_m, n_m2);
  EXPECT_TRUE(sym->b_expr[1]->is_op(MAX));
  EXPECT_EQ(sym->has_modulo_expr, 1);

  ModularMapping::increment(&a);
  EXPECT_EQ(a.b, (std::vector<int>{5, 4}));
  ModularMapping::increment(sym);
  EXPECT_TRUE(sym->b_expr[0]->is_op(PLUS) && sym->b_expr[0]->fd->is_value(1));

  ModularMapping pow({{1}, {1}, {1}, {1}, {1}, {1}, {1}}, std::vector<int>{0, 1, 3, 16, 17, 5, 1 << 30});
  ModularMapping::closest_pow2(&pow);
  EXPECT_EQ(pow.b, (std::vector<int>{1, 1, 4, 16, 32, 8, 1 << 30}));

  // Mixed kinds, dimensions, matrices, and out-of-range powers stop.
  ModularMapping three({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, std::vector<int>{2, 2, 2});
  EXPECT_STOP_ON_STDERR(ModularMapping::max(&a, n_m),
                        "ModularMapping::max: incompatible modulos (constant vs expression)");
  EXPECT_STOP_ON_STDERR(ModularMapping::max(&a, &three), "ModularMapping::max: incompatible dimensions");
  EXPECT_STOP_ON_STDERR(ModularMapping::max(&a, &skew), "ModularMapping::max: incompatible matrices");
  EXPECT_STOP_ON_STDERR(ModularMapping::closest_pow2(sym), "ModularMapping::closest_pow2: constant modulos expected");
  ModularMapping huge({{1}}, std::vector<int>{(1 << 30) + 1});
  EXPECT_STOP_ON_STDERR(ModularMapping::closest_pow2(&huge), "ModularMapping::closest_pow2: modulus too large");
  for (ModularMapping* m : {n_m, n_m2, sym}) delete m;
}

TEST_F(ModularMappingTest, SymbolicModuliBecomeTheirConstantBounds) {
  Expression n("N");
  Expression m("M");
  Expression five(5);
  Polyhedron* context = poly({n >= 1, n <= 9, m >= 0, m <= 4});
  ModularMapping* sym = symbolic({{1, 0}, {0, 1}});
  ModularMapping::upper_bound(sym, context);
  EXPECT_EQ(sym->has_modulo, 1);
  EXPECT_EQ(sym->has_modulo_expr, 0);
  EXPECT_EQ(sym->b, (std::vector<int>{9, 4}));
  EXPECT_EQ(sym->size(), 36);
  EXPECT_EQ(sym->to_string(), "  i_0 --> i_0 mod 9,   i_1 --> i_1 mod 4, ");
  // The expressions stay with the mapping, which frees them (the sanitizer
  // build watches); a second call finds no symbolic moduli.
  EXPECT_EQ(sym->b_expr.size(), 2u);
  ModularMapping::upper_bound(sym, nullptr);
  ModularMapping::upper_bound_inc(sym, nullptr);
  EXPECT_EQ(sym->b, (std::vector<int>{9, 4}));
  delete sym;

  // e + 1 as increment makes it: the bound of e, plus 1.
  ModularMapping* inc = symbolic({{1, 0}, {0, 1}});
  ModularMapping::increment(inc);
  ModularMapping::upper_bound_inc(inc, context);
  EXPECT_EQ(inc->b, (std::vector<int>{10, 5}));
  EXPECT_EQ(inc->has_modulo_expr, 0);
  delete inc;
  // A maximum of terms: the largest of their bounds.
  Expression n_or_5(MAX, &n, &five);
  ModularMapping max({{1}}, std::vector<Expression*>{&n_or_5});
  ModularMapping::upper_bound(&max, context);
  EXPECT_EQ(max.b, std::vector<int>{9});

  // A free parameter elsewhere in the context takes no bound away.
  Expression two(2);
  Polyhedron* free_m = poly({n >= 1, n <= 9, m >= 1});
  ModularMapping jacobi({{1, 0}, {0, 1}}, std::vector<Expression*>{&two, &n});
  ModularMapping::upper_bound(&jacobi, free_m);
  EXPECT_EQ(jacobi.b, (std::vector<int>{2, 9}));
  delete free_m;

  // Integer moduli, or none, are left alone.
  ModularMapping constant({{1}}, std::vector<int>{3});
  ModularMapping::upper_bound(&constant, context);
  ModularMapping::upper_bound_inc(&constant, context);
  EXPECT_EQ(constant.b, std::vector<int>{3});
  ModularMapping plain(2);
  ModularMapping::upper_bound(&plain, context);
  EXPECT_EQ(plain.has_modulo, 0);
  EXPECT_TRUE(plain.b.empty());
  delete context;
}

TEST_F(ModularMappingTest, ModuliWithoutConstantBoundStop) {
  Expression n("N");
  Expression one(1), two(2), five(5), minus_one(-1);
  Polyhedron* unbounded = poly({n >= 0});
  Polyhedron* small = poly({n >= 1, n <= 9});
  Polyhedron* none = poly({n >= 1, n <= 0});
  Polyhedron* zero = poly({n >= 0, n <= 0});
  const std::string bound = "ModularMapping::upper_bound: no constant upper bound for modulus ";
  auto stops = [&](Expression* modulus, Polyhedron* context, const std::string& message) {
    ModularMapping m({{1, 0}, {0, 1}}, std::vector<Expression*>{&two, modulus});
    EXPECT_STOP_ON_STDERR(ModularMapping::upper_bound(&m, context), message);
  };
  // No constant maximum, also where a constant term would outvote it.
  stops(&n, unbounded, bound + "1: N");
  Expression n_or_5(MAX, &n, &five);
  stops(&n_or_5, unbounded, bound + "1: " + ::text(n_or_5));
  // A negative maximum, an empty context, a maximum of 0.
  Expression minus_n(TIMES, &minus_one, &n);
  stops(&minus_n, small, bound + "1: " + ::text(minus_n));
  stops(&n, none, bound + "0: 2");
  stops(&n, zero, bound + "1: N");

  // upper_bound_inc: only e + 1 keeps an upper bound in e's.
  const std::string form = "ModularMapping::upper_bound_inc: modulus of the form e+1 expected";
  Expression n_plus_1(PLUS, &n, &one);
  Expression n_plus_2(PLUS, &n, &two);
  Expression one_plus_n(PLUS, &one, &n);
  for (Expression* modulus : {&n, &n_plus_2, &one_plus_n}) {
    ModularMapping m({{1}}, std::vector<Expression*>{modulus});
    EXPECT_STOP_ON_STDERR(ModularMapping::upper_bound_inc(&m, small), form);
  }
  ModularMapping inc({{1}}, std::vector<Expression*>{&n_plus_1});
  EXPECT_STOP_ON_STDERR(ModularMapping::upper_bound_inc(&inc, unbounded),
                        "ModularMapping::upper_bound_inc: no constant upper bound for modulus 0: " +
                            ::text(n_plus_1));
  // e bounded by 0 gives the modulus 1; a bound at the top of the int
  // range leaves no room for the 1.
  ModularMapping::upper_bound_inc(&inc, zero);
  EXPECT_EQ(inc.b, std::vector<int>{1});
  Polyhedron* top = poly({n >= 0, n <= 2147483647});
  ModularMapping at_top({{1}}, std::vector<Expression*>{&n_plus_1});
  EXPECT_STOP_ON_STDERR(ModularMapping::upper_bound_inc(&at_top, top),
                        "ModularMapping::upper_bound_inc: no constant upper bound for modulus 0: " +
                            ::text(n_plus_1));
  for (Polyhedron* p : {unbounded, small, none, zero, top}) delete p;
}

TEST_F(ModularMappingTest, KeepLast) {
  ModularMapping m({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, std::vector<int>{2, 3, 4});
  m.keep_last(2);
  EXPECT_EQ(m.A, (Rows{{5, 6}, {8, 9}}));
  EXPECT_EQ(m.b, (std::vector<int>{3, 4}));
  m.keep_last(0);
  EXPECT_TRUE(m.A.empty() && m.b.empty());
  // The expressions dropped are freed (the sanitizer build watches).
  ModularMapping* sym = symbolic({{1, 0}, {0, 1}});
  sym->keep_last(1);
  ASSERT_EQ(sym->b_expr.size(), 1u);
  EXPECT_TRUE(sym->b_expr[0]->is__parameter(1));
  delete sym;

  const std::string expected = "ModularMapping::keep_last: square matrix and 0 <= n <= dimension expected";
  ModularMapping row({{0, -1, 1}}, std::vector<int>{6});
  EXPECT_STOP_ON_STDERR(row.keep_last(1), expected);
  ModularMapping square({{1, 0}, {0, 1}}, std::vector<int>{2, 3});
  EXPECT_STOP_ON_STDERR(square.keep_last(3), expected);
  EXPECT_STOP_ON_STDERR(square.keep_last(-1), expected);
  square.b.pop_back();
  EXPECT_STOP_ON_STDERR(square.keep_last(1), expected);
}

TEST_F(ModularMappingTest, OneModulusPerRow) {
  const std::string expected = "ModularMapping: one modulus per row of A expected";
  EXPECT_STOP_ON_STDERR(ModularMapping({{1, 0}, {0, 1}}, std::vector<int>{2}), expected);
  EXPECT_STOP_ON_STDERR(ModularMapping({{1, 0}, {1}}, std::vector<int>{2, 2}), expected);
  Expression n("N");
  EXPECT_STOP_ON_STDERR(ModularMapping({{1}, {1}}, std::vector<Expression*>{&n}), expected);
  // Fields set directly, as a reader may: every member reading moduli checks.
  ModularMapping m({{1, 0}, {0, 1}}, std::vector<int>{2, 3});
  m.b.push_back(4);
  IndexFunction f(std::vector<int>{0, 1});
  EXPECT_STOP_ON_STDERR(text(m), expected);
  EXPECT_STOP_ON_STDERR(m.to_string(), expected);
  EXPECT_STOP_ON_STDERR(m.print(), expected);
  EXPECT_STOP_ON_STDERR(matrices(m), expected);
  EXPECT_STOP_ON_STDERR(m.apply(&f), expected);
  EXPECT_STOP_ON_STDERR(m.size(), expected);
  EXPECT_STOP_ON_STDERR(ModularMapping::max(&m, &m), expected);
}

TEST_F(ModularMappingTest, LatticeConstructorStops) {
  EXPECT_STOP_ON_STDOUT(ModularMapping(Rows{}), "ModularMapping(lattice): empty lattice");
  const std::string rank = "ModularMapping(lattice): lattice must have full rank";
  EXPECT_STOP_ON_STDOUT(ModularMapping(Rows{{1, 2}, {2, 4}}), rank);
  EXPECT_STOP_ON_STDOUT(ModularMapping(Rows{{1, 0}}), rank);
  EXPECT_STOP_ON_STDOUT(ModularMapping(Rows{{1, 0}, {0}}), rank);
}

// ---------------------------------------------------------------------------
// Lattice mappings against an independent membership test.

// adj(L): L · adj(L) = det(L) · I.
Rows adjugate(const Rows& L) {
  if (L.size() == 2) return {{L[1][1], -L[0][1]}, {-L[1][0], L[0][0]}};
  Rows adj(3, std::vector<int>(3));
  for (int r = 0; r < 3; r++)
    for (int c = 0; c < 3; c++) {
      int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
      adj[r][c] = L[r1][c1] * L[r2][c2] - L[r1][c2] * L[r2][c1];
    }
  return adj;
}

long long det(const Rows& L) {
  Rows adj = adjugate(L);
  long long d = 0;
  for (size_t r = 0; r < L.size(); r++) d += 1LL * L[0][r] * adj[r][0];
  return d;
}

// d is an integer combination of the rows of the basis L: d·adj(L) is a
// multiple of det(L) entry by entry.
bool in_lattice(const std::vector<int>& d, const Rows& L, const Rows& adj, long long D) {
  for (size_t c = 0; c < L.size(); c++) {
    long long x = 0;
    for (size_t r = 0; r < L.size(); r++) x += 1LL * d[r] * adj[r][c];
    if (x % D != 0) return false;
  }
  return true;
}

// Builds the mapping of `generators` and checks it over the box [0, |det|)^n
// against the membership test of the basis L of the same lattice.
void check_lattice(const Rows& generators, const Rows& L) {
  int n = static_cast<int>(L.size());
  long long D = std::llabs(det(L));
  ASSERT_EQ(L[0].size(), static_cast<size_t>(n));
  ModularMapping m(generators);
  ASSERT_EQ(m.A.size(), static_cast<size_t>(n));
  EXPECT_EQ(m.size(), D);
  std::vector<int> counters;
  for (int k = 0; k < n; k++) counters.push_back(k);
  IndexFunction identity(counters);
  IndexFunction* storage = m.apply(&identity);

  Rows adj = adjugate(L);
  std::map<std::vector<int>, std::vector<int>> representative;  // cell -> first subscript met
  std::vector<int> x(n, 0);
  while (true) {
    std::map<int, int> values;
    for (int k = 0; k < n; k++) values[k] = x[k];
    std::vector<int> cell;
    for (int k = 0; k < n; k++) {
      cell.push_back(storage->index_mapping[k]->evaluate_int(values, {}));
      EXPECT_TRUE(0 <= cell[k] && cell[k] < m.b[k]);
    }
    auto found = representative.emplace(cell, x);
    std::vector<int> d(n);
    for (int k = 0; k < n; k++) d[k] = x[k] - found.first->second[k];
    EXPECT_TRUE(in_lattice(d, L, adj, D)) << "shared storage off the lattice";
    int k = n - 1;
    while (k >= 0 && x[k] == D - 1) x[k--] = 0;
    if (k < 0) break;
    ++x[k];
  }
  // Distinct cells: differences off the lattice, and one cell per coset.
  EXPECT_EQ(static_cast<long long>(representative.size()), D);
  for (auto a = representative.begin(); a != representative.end(); ++a)
    for (auto b = std::next(a); b != representative.end(); ++b) {
      std::vector<int> d(n);
      for (int k = 0; k < n; k++) d[k] = a->second[k] - b->second[k];
      EXPECT_FALSE(in_lattice(d, L, adj, D)) << "distinct storage for one coset";
    }
  delete storage;
}

TEST(ModularMappingLattice, CellsShareStorageExactlyWhenTheirDifferenceIsInTheLattice) {
  clear_registries();
  register_names({"x0", "x1", "x2"}, {});
  Options::print_mappings = 0;
  std::mt19937 g(1723);
  std::uniform_int_distribution<int> entry(-3, 3);
  for (int n : {2, 2, 2, 2, 3, 3, 3, 3}) {
    Rows L;
    long long D = 0;
    while (std::llabs(D) < 4 || std::llabs(D) > (n == 2 ? 24 : 14)) {
      L.assign(n, std::vector<int>(n));
      for (auto& row : L)
        for (int& e : row) e = entry(g);
      D = det(L);
    }
    SCOPED_TRACE(testing::Message() << "det " << D);
    check_lattice(L, L);
  }
  // More generators than dimensions: the lattice of (2, 0) and (0, 3).
  check_lattice({{4, 0}, {6, 0}, {0, 3}, {2, 3}}, {{2, 0}, {0, 3}});
}

}  // namespace
