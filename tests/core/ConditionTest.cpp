#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <random>
#include <sstream>

#include "Condition.h"
#include "CoreTest.h"
#include "Domain.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronTestSupport.h"

namespace {

std::string text(const Condition& c) {
  std::ostringstream out;
  out << c;
  return out.str();
}

std::string text(Condition* c) { return text(*c); }

struct Point3 {
  int i, j, n;
};

// The value of an affine tree at x, computed without allocating: the
// sanitizer builds make every allocation costly, and this runs millions of
// times.
long long value_at(const Expression* e, const Point3& x) {
  if (e->is_leaf) {
    if (e->is_val) return e->val;
    if (e->is_parameter) return x.n;
    return e->counter_rank == 0 ? x.i : x.j;
  }
  long long l = value_at(e->fg, x), r = value_at(e->fd, x);
  switch (e->op) {
    case PLUS: return l + r;
    case MINUS: return l - r;
    case TIMES: return l * r;
    default: ADD_FAILURE() << "not affine: " << text(e); return 0;
  }
}

bool holds_at(const Inequation* c, const Point3& x) {
  return holds(c->pred, value_at(c->lhs, x), value_at(c->rhs, x));
}

bool holds_at(const Condition* c, const Point3& x) {
  if (c->is_leaf && c->is_value) return c->value != 0;
  if (c->is_leaf) return holds_at(c->ineq, x);
  bool l = holds_at(c->fg, x), r = holds_at(c->fd, x);
  return c->op == AND ? l && r : l || r;
}

bool holds_at(Polyhedron* p, const Point3& x) {
  for (Inequation* c : p->constraints)
    if (!holds_at(c, x)) return false;
  return true;
}

bool holds_in_some(const std::vector<Polyhedron*>& v, const Point3& x) {
  for (Polyhedron* p : v)
    if (holds_at(p, x)) return true;
  return false;
}

// i, j in -4..4 and N in 0..4: parameters are drawn >= 0, the values for
// which emptiness, and so the polyhedra of a condition, are defined.
void for_each_point(const std::function<void(const Point3&)>& check) {
  for (int i = -4; i <= 4; ++i)
    for (int j = -4; j <= 4; ++j)
      for (int n = 0; n <= 4; ++n) check({i, j, n});
}

bool no_or_below_and(const Condition* c, bool below_and) {
  if (c->is_leaf) return true;
  if (c->op == OR && below_and) return false;
  bool and_here = below_and || c->op == AND;
  return no_or_below_and(c->fg, and_here) && no_or_below_and(c->fd, and_here);
}

// Counters i, j and parameter N; rows are [i | j | N | 1].
class ConditionTest : public IJNLeavesTest {
 protected:
  std::mt19937 g{17};

  Expression* random_side() {
    std::uniform_int_distribution<int> coef(-2, 2), constant(-3, 3);
    return new Expression(std::vector<int>{coef(g), coef(g), coef(g), constant(g)});
  }

  Inequation* random_constraint() {
    std::uniform_int_distribution<int> pred(0, 4);
    Expression* lhs = random_side();
    Expression* rhs = random_side();
    Inequation* c = new Inequation(static_cast<predicate_t>(pred(g)), lhs, rhs);
    delete lhs;
    delete rhs;
    return c;
  }

  Condition* random_leaf() {
    int kind = std::uniform_int_distribution<int>(0, 9)(g);
    if (kind == 0) return new Condition(1);
    if (kind == 1) return new Condition(0);
    Inequation* c = random_constraint();
    Condition* leaf = new Condition(c);
    delete c;
    return leaf;
  }

  Condition* random_condition(int depth) {
    if (depth == 0 || std::uniform_int_distribution<int>(0, 5)(g) == 0) return random_leaf();
    Condition* l = random_condition(depth - 1);
    Condition* r = random_condition(depth - 1);
    boolean_operator_t op = std::uniform_int_distribution<int>(0, 1)(g) ? OR : AND;
    Condition* c = new Condition(op, l, r);
    delete l;
    delete r;
    return c;
  }

  Polyhedron* random_polyhedron() {
    Polyhedron* p = new Polyhedron();
    int size = std::uniform_int_distribution<int>(0, 3)(g);
    for (int k = 0; k < size; ++k) {
      Inequation* c = random_constraint();
      p->add_constraint(c);
      delete c;
    }
    return p;
  }
};

// A leaf and a node that take over their arguments (the constructors
// clone, and the arguments are freed).
Condition* leaf(Inequation* c) {
  Condition* l = new Condition(c);
  delete c;
  return l;
}

Condition* node(boolean_operator_t op, Condition* l, Condition* r) {
  Condition* c = new Condition(op, l, r);
  delete l;
  delete r;
  return c;
}

TEST_F(ConditionTest, RandomTreesKeepTheirTruthThroughEveryRewriting) {
  for (int t = 0; t < 30; ++t) {
    Condition* c = random_condition(3);
    Condition* simplified = c->clone()->simplify();
    Condition* normal = c->clone()->dnf();
    Condition* negated = c->negate();
    EXPECT_TRUE(no_or_below_and(normal, false)) << text(normal);
    std::vector<Polyhedron*> pieces = c->clone()->to_polyhedra();
    std::vector<Polyhedron*> complement = c->negate()->to_polyhedra();
    for (Polyhedron* p : pieces) EXPECT_FALSE(p->is_empty());
    for_each_point([&](const Point3& x) {
      bool truth = holds_at(c, x);
      ASSERT_EQ(holds_at(simplified, x), truth) << text(c) << " -> " << text(simplified);
      ASSERT_EQ(holds_at(normal, x), truth) << text(c);
      ASSERT_EQ(holds_at(negated, x), !truth) << text(c);
      ASSERT_EQ(holds_in_some(pieces, x), truth) << text(c);
      ASSERT_EQ(holds_in_some(complement, x), !truth) << text(c);
    });
    del(pieces);
    del(complement);
    delete c;
    delete simplified;
    delete normal;
    delete negated;
  }
}

TEST_F(ConditionTest, ConditionsOfPolyhedraHoldAtTheirMembersPoints) {
  for (int t = 0; t < 30; ++t) {
    std::vector<Polyhedron*> members;
    int size = std::uniform_int_distribution<int>(0, 3)(g);
    for (int k = 0; k < size; ++k) members.push_back(random_polyhedron());
    Condition* any = new Condition(members);
    std::list<Polyhedron*> as_list(members.begin(), members.end());
    Condition* any_of_list = new Condition(as_list);
    EXPECT_TRUE(*any == *any_of_list);
    std::vector<Condition*> each;
    for (Polyhedron* p : members) each.push_back(new Condition(p));
    for_each_point([&](const Point3& x) {
      for (size_t k = 0; k < members.size(); ++k)
        ASSERT_EQ(holds_at(each[k], x), holds_at(members[k], x));
      ASSERT_EQ(holds_at(any, x), holds_in_some(members, x));
    });
    for (Condition* c : each) delete c;
    delete any;
    delete any_of_list;
    del(members);
  }
}

TEST_F(ConditionTest, PrintedForms) {
  Polyhedron* p = poly({*i >= 0, *i <= *n});
  Condition* c = new Condition(p);
  EXPECT_EQ(text(c), "(i <= N) and ((i >= 0) and (true))");
  // The frame goes to standard output, the constraints to standard error.
  ChildRun run = run_in_child([&] { c->print(); });
  EXPECT_EQ(run.out, "() and (() and (true))");
  EXPECT_EQ(run.err, "i <= Ni >= 0");

  Condition* both = node(AND, leaf(*i < *n), leaf(*j >= 0));
  Condition* negated = both->negate();
  EXPECT_EQ(text(negated), "(i >= N) or (j < 0)");
  Condition* equality = leaf(new Inequation(EQ, i, n));
  Condition* unequal = equality->negate();
  EXPECT_EQ(text(unequal), "(i < N) or (i > N)");
  Condition* constants = node(AND, new Condition(1), new Condition(0));
  EXPECT_EQ(text(constants), "(true) and (false)");

  // Any non-zero value is true, and stays so through negation and printing.
  Condition five(5);
  EXPECT_TRUE(five.is_true());
  Condition* not_five = five.negate();
  EXPECT_TRUE(not_five->is_false());
  EXPECT_EQ(text(five), "true");
  for (Condition* x : {c, both, negated, equality, unequal, constants, not_five}) delete x;
  delete p;
}

TEST_F(ConditionTest, SimplificationCases) {
  // The receiver itself comes back when there is nothing to simplify.
  Condition* undecided = node(OR, leaf(*i < *n), leaf(*j >= 0));
  EXPECT_EQ(undecided->simplify(), undecided);
  Condition* again = Condition::simplify(undecided);
  EXPECT_EQ(again, undecided);
  delete again;

  Condition* true_and = node(AND, new Condition(1), node(OR, leaf(*i < *n), new Condition(0)));
  Condition* s = true_and->simplify();
  EXPECT_EQ(text(s), "i < N");
  delete s;
  s = Condition::simplify(node(OR, leaf(*i < *n), new Condition(1)));
  EXPECT_TRUE(s->is_true());
  delete s;
  Expression one(1), zero(0), two(2);
  s = Condition::simplify(leaf(new Inequation(GREATER_EQ, &one, &zero)));
  EXPECT_TRUE(s->is_true());
  delete s;

  // Leaves with a division, a floor or a max are undecided, never fatal.
  Expression half(DIV, n, &two);
  Expression floor_half(FLOOR, n, &two);
  Expression max(MAX, i, n);
  s = Condition::simplify(node(AND, leaf(*i >= half), new Condition(0)));
  EXPECT_TRUE(s->is_false());
  delete s;
  for (Expression* side : {&half, &floor_half, &max}) {
    s = Condition::simplify(node(AND, leaf(*i >= *side), new Condition(1)));
    EXPECT_EQ(text(s), "i >= " + text(side));
    delete s;
  }
}

TEST_F(ConditionTest, NormalFormAndPolyhedraCases) {
  Condition* a = leaf(*i >= 0);
  Condition* b = leaf(*j >= 0);
  Condition* c = leaf(*i <= *n);
  Condition* d = node(AND, a->clone(), node(OR, b->clone(), c->clone()))->dnf();
  EXPECT_EQ(text(d), "((i >= 0) and (j >= 0)) or ((i >= 0) and (i <= N))");
  Condition* e = node(AND, node(OR, a->clone(), b->clone()), c->clone())->dnf();
  EXPECT_EQ(text(e), "((i >= 0) and (i <= N)) or ((j >= 0) and (i <= N))");

  // The empty conjunct is dropped.
  std::vector<Polyhedron*> v =
      node(OR, a->clone(), node(AND, leaf(*i < 0), leaf(*i > 0)))->to_polyhedra();
  ASSERT_EQ(v.size(), 1u);
  for_each_point([&](const Point3& x) { EXPECT_EQ(holds_at(v[0], x), x.i >= 0); });
  del(v);

  Polyhedron none;
  Condition* all = new Condition(&none);
  EXPECT_TRUE(all->is_true());
  v = all->to_polyhedra();
  ASSERT_EQ(v.size(), 1u);
  EXPECT_TRUE(v[0]->constraints.empty());
  del(v);
  Condition* nothing = new Condition(std::vector<Polyhedron*>());
  EXPECT_TRUE(nothing->is_false());
  EXPECT_TRUE(nothing->to_polyhedra().empty());
  // Parameters are >= 0: nothing is left of N < 0.
  EXPECT_TRUE(leaf(*n < 0)->to_polyhedra().empty());

  // The complement of {i = 2}: i < 2 and i > 2.
  Polyhedron* two = poly({*i == 2});
  Condition* is_two = new Condition(two);
  v = is_two->negate()->to_polyhedra();
  ASSERT_EQ(v.size(), 2u);
  for_each_point([&](const Point3& x) {
    EXPECT_EQ(holds_at(v[0], x), x.i <= 1);
    EXPECT_EQ(holds_at(v[1], x), x.i >= 3);
  });
  del(v);
  for (Condition* x : {a, b, c, d, e, is_two}) delete x;
  delete two;
}

TEST_F(ConditionTest, Stops) {
  Polyhedron* p = poly({*i >= 0});
  Domain union_of({p});
  EXPECT_STOP_ON_STDERR(delete new Condition(&union_of),
                        "Condition::Condition: expect single polyhedra");
  std::vector<Polyhedron*> with_domain{p, &union_of};
  EXPECT_STOP_ON_STDERR(delete new Condition(with_domain),
                        "Condition::Condition: expect single polyhedra");

  Condition* odd = node(AND, leaf(*i >= 0), leaf(*j >= 0));
  odd->op = static_cast<boolean_operator_t>(2);
  ChildRun run = run_in_child([&] {
    Condition* s = odd->clone()->simplify();
    delete s;
  });
  EXPECT_EQ(run.out, "WARNING: Condition::simplify: unhandled operator\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_STOP_ON_STDOUT(odd->print(), "Condition::print: unhandled operator");
  EXPECT_STOP_ON_STDOUT(std::cout << *odd, "Condition::print: unhandled operator");
  delete odd;
  delete p;
}

}  // namespace
