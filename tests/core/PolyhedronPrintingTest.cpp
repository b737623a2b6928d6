// Text forms of polyhedra and unions, and the iscc text read back by isl.

#include <gtest/gtest.h>
#include <isl/ctx.h>
#include <isl/union_set.h>

#include "Domain.h"
#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronTestSupport.h"
#include "Rank.h"

namespace {

class PolyhedronPrinting : public ::testing::Test {
 protected:
  void TearDown() override { expression_print_parenthesis = 0; }

  static std::string iscc(Polyhedron* p, const std::string& name) {
    return text_of([&](std::ostream& os) { p->print_iscc(name, os); });
  }

  // Both texts parse in isl and describe the same set.
  static void expect_isl_equal(const std::string& ours, const std::string& expected) {
    isl_ctx* ctx = isl_ctx_alloc();
    isl_union_set* a = isl_union_set_read_from_str(ctx, ours.c_str());
    isl_union_set* b = isl_union_set_read_from_str(ctx, expected.c_str());
    ASSERT_NE(a, nullptr) << ours;
    ASSERT_NE(b, nullptr) << expected;
    EXPECT_EQ(isl_union_set_is_equal(a, b), isl_bool_true) << ours << " vs " << expected;
    isl_union_set_free(a);
    isl_union_set_free(b);
    isl_ctx_free(ctx);
  }

  FreshRegistry registry{{"i", "j", "k"}, {"N"}};
  Expression i{std::string("i")}, j{std::string("j")}, k{std::string("k")},
      N{std::string("N")};
};

TEST_F(PolyhedronPrinting, BoxForms) {
  Polyhedron* p = poly({i >= 0});
  EXPECT_EQ(text_of([&](std::ostream& os) { p->print(os); }), "/\n| i >= 0\n\\\n");
  EXPECT_EQ(text_of([&](std::ostream& os) { os << *p; }), "/\n| i >= 0\n\\\n");
  EXPECT_EQ(text_of([&](std::ostream& os) { p->print(os, "  "); }), "  /\n  | i >= 0\n  \\\n");
  Polyhedron u;
  EXPECT_EQ(text_of([&](std::ostream& os) { u.print(os); }), "/\n\\\n");
  delete p;
}

TEST_F(PolyhedronPrinting, PlainBoxGoesToStandardErrorAndUnionsToStandardOutput) {
  ChildRun r = run_in_child([this] {
    // Only the text form honours the parenthesis flag: the two forms differ.
    expression_print_parenthesis = 1;
    Expression two(2);
    Expression twice(TIMES, &two, &i);
    Inequation* c = (twice >= N);
    Polyhedron p(c);
    delete c;
    p.print();
    Domain d(std::vector<Polyhedron*>{&p});
    d.print();
    Polyhedron::print_list(std::list<Polyhedron*>{&p, &d});
  });
  EXPECT_EQ(r.status, 0);
  const std::string plain = "/\n| 2*i >= N\n\\\n";
  const std::string text = "/\n| 2*(i) >= ((long long)N)\n\\\n";
  EXPECT_EQ(r.err, plain + plain);
  EXPECT_EQ(r.out, text + text);
}

TEST_F(PolyhedronPrinting, IsccSets) {
  Polyhedron* p = poly({i >= 0, i <= N});
  EXPECT_EQ(iscc(p, "S0"), "[N] -> { S0[i] : i >= 0 and i <= N}");
  EXPECT_EQ(text_of([&](std::ostream& os) { p->print_iscc(os); }),
            "[N] -> { [i] : i >= 0 and i <= N}");
  Polyhedron none;
  EXPECT_EQ(iscc(&none, "S0"), "[] -> { S0[] : }");
  // Counters in rank order whatever their order in the constraints.
  Polyhedron* q = poly({k >= i});
  EXPECT_EQ(iscc(q, "S1"), "[] -> { S1[i,k] : k >= i}");
  // A counter that cancels out still occurs.
  Expression diff(MINUS, &j, &j);
  Inequation* c = (diff >= 0);
  Polyhedron cancel(c);
  delete c;
  EXPECT_EQ(iscc(&cancel, "S"), "[] -> { S[j] : j-j >= 0}");
  expect_isl_equal(iscc(p, "S0"), "[N] -> { S0[i] : 0 <= i <= N }");
  delete p;
  delete q;
}

TEST_F(PolyhedronPrinting, IsccUnionOfUnnamedSets) {
  Polyhedron* a = poly({i >= 0, i <= N});
  Polyhedron* b = poly({j >= 0});
  std::vector<Polyhedron*> v{a, b};
  std::string text = text_of([&](std::ostream& os) { print_iscc(os, v); });
  EXPECT_EQ(text, "[N] -> { [i,j] : i >= 0 and i <= N; [i,j] : j >= 0}");
  expect_isl_equal(text, "[N] -> { [i,j] : 0 <= i <= N; [i,j] : j >= 0 }");
  EXPECT_EQ(text_of([&](std::ostream& os) { print_iscc(os, std::vector<Polyhedron*>{}); }),
            "[] -> { }");
  delete a;
  delete b;
}

// Divisions are written as isl's floor/ceil of a quotient by a positive
// constant; the plain text form a/b would be a rational quotient to isl.
TEST_F(PolyhedronPrinting, IsccDivisionsRoundTripThroughIsl) {
  Expression two(2), minus_two(-2), three(3);
  Expression half(DIV, &N, &two);
  Polyhedron* p = poly({i >= half, i < N});
  EXPECT_EQ(iscc(p, "S0"), "[N] -> { S0[i] : i >= floor((N)/2) and i < N}");
  expect_isl_equal(iscc(p, "S0"), "[N] -> { S0[i] : 2i >= N - 1 and i < N }");
  struct Case {
    operator_t op;
    Expression* divisor;
    bool lower;
    std::string expected;
  };
  // i >= floor(a/d) <=> d*i >= a-d+1; i <= floor(a/d) <=> d*i <= a;
  // i >= ceil(a/d) <=> d*i >= a; i <= ceil(a/d) <=> d*i <= a+d-1.
  std::vector<Case> cases{
      {DIV, &three, true, "[N] -> { S[i] : 3i >= N - 2 }"},
      {DIV, &minus_two, true, "[N] -> { S[i] : 2i >= -N - 1 }"},
      {FLOOR, &three, false, "[N] -> { S[i] : 3i <= N }"},
      {FLOOR, &minus_two, false, "[N] -> { S[i] : 2i <= -N }"},
      {CEIL, &three, true, "[N] -> { S[i] : 3i >= N }"},
      {CEIL, &minus_two, true, "[N] -> { S[i] : 2i >= -N }"},
      {CEIL, &minus_two, false, "[N] -> { S[i] : 2i <= -N + 1 }"},
  };
  for (int parenthesis = 0; parenthesis < 2; parenthesis++) {
    expression_print_parenthesis = parenthesis;
    for (const Case& c : cases) {
      Expression bound(c.op, &N, c.divisor);
      Polyhedron* q = poly({c.lower ? (i >= bound) : (i <= bound)});
      expect_isl_equal(iscc(q, "S"), c.expected);
      Domain d(std::vector<Polyhedron*>{q, q});
      expect_isl_equal(iscc(&d, "S"), c.expected);
      delete q;
    }
    expect_isl_equal(iscc(p, "S0"), "[N] -> { S0[i] : 2i >= N - 1 and i < N }");
  }
  delete p;
}

TEST_F(PolyhedronPrinting, CodeVhdlAndPavuForms) {
  Polyhedron u;
  EXPECT_EQ(u.print_code(), "true");
  EXPECT_EQ(text_of([&](std::ostream& os) { u.print_vhdl(os); }), "true");
  Polyhedron* a = poly({i >= 0, new Inequation(EQ, &i, &N)});
  Polyhedron* c = poly({j >= 0});
  EXPECT_EQ(a->print_code(), "(i >= 0) && (i == N)");
  EXPECT_EQ(text_of([&](std::ostream& os) { a->print_vhdl(os); }), "(i >= 0) and (i = N)");
  EXPECT_EQ(text_of([&](std::ostream& os) {
              Polyhedron::print_code(os, std::vector<Polyhedron*>{a, c});
            }),
            "((i >= 0) && (i == N)) || ((j >= 0))");
  EXPECT_EQ(text_of([&](std::ostream& os) {
              Polyhedron::print_code(os, std::vector<Polyhedron*>{c});
            }),
            "((j >= 0))");
  EXPECT_EQ(text_of([&](std::ostream& os) {
              Polyhedron::print_code(os, std::vector<Polyhedron*>{});
            }),
            "false");
  Polyhedron* b = poly({i >= 1, i <= N});
  EXPECT_EQ(text_of([&](std::ostream& os) { b->print_pavu(os); }),
            "Polyhedron& p = (\n(var(\"i\") + (-1) >= 0) &&\n"
            "((-1*var(\"i\")) + par(\"N\") + 0 >= 0));\n");
  EXPECT_EQ(text_of([&](std::ostream& os) { u.print_pavu(os); }), "Polyhedron& p = (\n);\n");
  delete a;
  delete b;
  delete c;
}

TEST_F(PolyhedronPrinting, PrintVolume) {
  Polyhedron* p = poly({i >= 0});
  ChildRun r = run_in_child([&] {
    print_volume(std::map<Polyhedron*, Expression*>{{p, &N}});
  });
  EXPECT_EQ(r.out, "/\n| i >= 0\n\\\n\nN\n\n");
  delete p;
}

TEST_F(PolyhedronPrinting, DomainForms) {
  Polyhedron* a = poly({i >= 0, i <= N});
  Polyhedron* b = poly({j >= 0});
  Domain d(std::vector<Polyhedron*>{a, b});
  EXPECT_EQ(iscc(&d, "S0"), "[N] -> { S0[i,j] : i >= 0 and i <= N; S0[i,j] : j >= 0}");
  expect_isl_equal(iscc(&d, "S0"), "[N] -> { S0[i,j] : 0 <= i <= N; S0[i,j] : j >= 0 }");
  EXPECT_EQ(text_of([&](std::ostream& os) { os << d; }),
            "/\n| i >= 0\n| i <= N\n\\\nU\n/\n| j >= 0\n\\\n");
  Domain one(std::vector<Polyhedron*>{b});
  EXPECT_EQ(text_of([&](std::ostream& os) { one.print(os); }), "/\n| j >= 0\n\\\n");
  Domain none;
  EXPECT_EQ(text_of([&](std::ostream& os) { none.print(os); }), "(empty domain)");
  EXPECT_EQ(iscc(&none, "S0"), "[] -> { }");
  EXPECT_EQ(d.get_counters(), (std::set<int>{0, 1}));
  EXPECT_EQ(d.get_parameters(), (std::set<int>{0}));
  EXPECT_EQ(d.is_domain(), 1);
  EXPECT_EQ(d.is_single_polyhedron(), 0);
  delete a;
  delete b;
}

TEST_F(PolyhedronPrinting, DomainOperationsReachEveryMember) {
  Polyhedron* a = poly({i >= 0});
  Domain d(std::vector<Polyhedron*>{a, a});
  Inequation* c = (j >= 0);
  d.add_constraint(c);
  delete c;
  EXPECT_TRUE(d.constraints.empty());
  EXPECT_EQ(d.domain[0]->size(), 2);
  EXPECT_EQ(d.domain[1]->size(), 2);
  EXPECT_EQ(a->size(), 1);
  d.add_constraints(a);
  EXPECT_EQ(d.domain[1]->size(), 3);
  Polyhedron* copy = d.clone();
  ASSERT_EQ(copy->is_domain(), 1);
  Domain* dc = static_cast<Domain*>(copy);
  dc->add_domain(a);
  dc->domain[0]->add_constraint(d.domain[0]->constraints.front());
  EXPECT_EQ(d.domain.size(), 2u);
  EXPECT_EQ(d.domain[0]->size(), 3);
  EXPECT_EQ(dc->domain[0]->size(), 4);
  EXPECT_NE(dc->domain[1], d.domain[1]);
  // Non-virtual operations see the universe.
  EXPECT_EQ(d.size(), 0);
  EXPECT_TRUE(d.to_matrix().empty());
  delete copy;
  delete a;
}

TEST_F(PolyhedronPrinting, NestedDomainsStop) {
  ChildRun r = run_in_child([] {
    Domain inner(std::vector<Polyhedron*>{new Polyhedron()});
    Domain outer(std::vector<Polyhedron*>{&inner});
    outer.get_counters();
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Domain::get_counters: domains must be union of single polyhedra\n");
  r = run_in_child([] {
    Domain inner;
    Domain outer(std::vector<Polyhedron*>{&inner});
    outer.print_iscc("S0", std::cout);
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Domain::get_parameters: domains must be union of single polyhedra\n");
  // The union forms over a vector take a Domain member's pieces into account.
  Polyhedron* a = poly({k >= 0});
  Domain d(std::vector<Polyhedron*>{a});
  EXPECT_EQ(Polyhedron::get_counters(std::vector<Polyhedron*>{&d}), (std::set<int>{2}));
  delete a;
}

}  // namespace
