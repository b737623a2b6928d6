#include "LoopTest.h"

#include <iostream>
#include <list>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "SyntaxTree.h"

namespace {

// How an expression moves as the counter grows: whether it rises
// somewhere, falls somewhere, or moves in a way not read here (a product
// of the counter with a variable, a quotient by one).
struct Motion {
  bool up = false;
  bool down = false;
  bool opaque = false;
};

Motion flipped(Motion m) {
  std::swap(m.up, m.down);
  return m;
}

Motion joined(Motion a, Motion b) { return {a.up || b.up, a.down || b.down, a.opaque || b.opaque}; }

Motion scaled(const Motion& m, int k) {
  if (k == 0) return {};
  return k > 0 ? m : flipped(m);
}

Motion opaque() { return {false, false, true}; }

Motion node_motion(const Expression* e, int counter);

// The motion of e. An affine tree that both rises and falls may cancel
// (j - j): its coefficient of the counter decides.
Motion motion(const Expression* e, int counter) {
  if (!e->get_counters().count(counter)) return {};
  Motion m = node_motion(e, counter);
  if (m.up && m.down && !m.opaque && !e->has_div()) return scaled(Motion{true, false, false}, e->to_vector()[counter]);
  return m;
}

// A C quotient, truncated or floored, moves with its numerator when the
// divisor is positive and against it when negative.
Motion node_motion(const Expression* e, int counter) {
  if (e->is_leaf) return {true, false, false};
  switch (e->op) {
    case PLUS: return joined(motion(e->fg, counter), motion(e->fd, counter));
    case MINUS: return joined(motion(e->fg, counter), flipped(motion(e->fd, counter)));
    case TIMES:
      if (e->fg->is_constant()) return scaled(motion(e->fd, counter), e->fg->val);
      if (e->fd->is_constant()) return scaled(motion(e->fg, counter), e->fd->val);
      return opaque();
    case DIV: case FLOOR: case CEIL:
      if (e->fd->is_constant() && e->fd->val != 0) return scaled(motion(e->fg, counter), e->fd->val);
      return opaque();
    default:
      return opaque();
  }
}

// The loop's texts, for the messages.
struct Loop {
  std::string location;  // "file:line"
  std::string test;
  std::string start;
};

std::string text_of(const Inequation* c) {
  std::ostringstream out;
  c->print_code(out);
  return out.str();
}

[[noreturn]] void refuse(const std::string& location, const std::string& why) {
  stop(std::cerr, location + ": error: " + why);
}

// A test is read as comparisons (and boolean literals) joined by &&: || and
// != give unions, which the model does not hold, and the model reads no
// other operand (!, a value tested against 0).
void check_conjunction(SgExpression* part, const Loop& loop) {
  switch (part->variantT()) {
    case V_SgAndOp:
      check_conjunction(isSgAndOp(part)->get_lhs_operand(), loop);
      check_conjunction(isSgAndOp(part)->get_rhs_operand(), loop);
      return;
    case V_SgLessThanOp: case V_SgLessOrEqualOp: case V_SgGreaterThanOp: case V_SgGreaterOrEqualOp:
    case V_SgEqualityOp: case V_SgBoolValExp:
      return;
    default:
      refuse(loop.location, "the loop test '" + loop.test + "' holds '" + part->unparseToString() +
                                "': a loop test is read as comparisons (<, <=, >, >=, ==) joined by &&");
  }
}

// The lower half of a constraint over the counter: the one that holds for
// every larger counter once it holds. Null for an upper bound or a
// constraint without the counter; an equality gives its half lhs >= rhs
// or lhs <= rhs. New constraint owned by the caller. Stops the run on a
// constraint that is neither bound.
Inequation* lower_half(const Inequation* c, int counter, const Loop& loop) {
  Motion m = joined(motion(c->lhs, counter), flipped(motion(c->rhs, counter)));
  if (m.opaque || (m.up && m.down))
    refuse(loop.location, "the loop test '" + loop.test + "' holds the part '" + text_of(c) +
                              "', which is neither a lower nor an upper bound on the counter " +
                              get_counter_string(counter) +
                              ": the loop stops at the first counter that fails its test, which the model cannot tell");
  if (!m.up && !m.down) return nullptr;
  switch (c->pred) {
    case EQ: return new Inequation(m.up ? GREATER_EQ : LESS_EQ, c->lhs, c->rhs);
    case GREATER: case GREATER_EQ: return m.up ? c->clone() : nullptr;
    default: return m.down ? c->clone() : nullptr;
  }
}

// The values the start may take: the arguments of a max (nested ones
// flattened), else the start itself. New expressions owned by the caller.
std::vector<Expression*> start_values(SgExpression* start) {
  if (!is_max(start)) return {Expression::from_Sage(start)};
  std::vector<Expression*> values = start_values(get_lhs(start));
  std::vector<Expression*> right = start_values(get_rhs(start));
  values.insert(values.end(), right.begin(), right.end());
  return values;
}

// Adds to `domain` the lower part `lower`, which the loop needs at its
// start. At a max start it must hold at one of the arguments: a union,
// unless it holds at one of them whatever the values are.
void add_at_start(Polyhedron* domain, const Inequation* lower, int counter, const std::vector<Expression*>& starts,
                  const Loop& loop) {
  std::vector<Inequation*> cases;
  bool always = false;
  for (Expression* s : starts) {
    cases.push_back(lower->substitute_counters({{counter, s}}));
    always = always || cases.back()->is_true();
  }
  if (!always && cases.size() > 1)
    refuse(loop.location, "the loop test '" + loop.test + "' bounds its counter from below by '" + text_of(lower) +
                              "', which must hold at the start '" + loop.start + "': at one of the max's " +
                              "arguments, a union of cases that the model does not hold");
  if (!always) domain->add_constraint(cases[0]);
  del(std::list<Inequation*>(cases.begin(), cases.end()));
}

}  // namespace

Polyhedron* loop_test_domain(SgExpression* test, SgExpression* start, int counter, const std::string& location) {
  Loop loop{location, test->unparseToString(), start->unparseToString()};
  check_conjunction(test, loop);
  Polyhedron* parts = Polyhedron::from_Sage(test);
  Polyhedron* domain = new Polyhedron();
  std::vector<Expression*> starts;
  for (Inequation* c : parts->constraints) {
    Inequation* lower = lower_half(c, counter, loop);
    // An equality also bounds the counter from above: it stays on the counter.
    if (!lower || c->pred == EQ) domain->add_constraint(c);
    if (!lower) continue;
    if (starts.empty()) starts = start_values(start);
    add_at_start(domain, lower, counter, starts, loop);
    delete lower;
  }
  del(starts);
  delete parts;
  return domain;
}
