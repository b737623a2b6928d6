// Quasts from boolean conditions, the region where a tree has a solution,
// bounds read off the leaves, and the rewritings into smaller equivalent
// trees: compaction of test chains, global simplification, and the local
// simplification that pushes tests upward and prunes unreachable branches.
//
// The in-place rewritings share subtrees through counted links (see
// Quast.h): "replacing a node by a child" copies the child's fields with
// links and drops the node's links to its old fields, and no rewriting
// changes an object that another link still reaches.

#include <iostream>
#include <tuple>

#include "Condition.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "Stop.h"

// ---------------------------------------------------------------------------
// Helpers shared by the quast sources

int Quast::max(int a, int b) { return a >= b ? a : b; }

int Quast::min(int a, int b) { return a <= b ? a : b; }

Quast* Quast::node_of(Inequation* c, Quast* t, Quast* e) {
  Quast* node = new Quast();
  node->is_empty = 0;
  node->is_if = 1;
  node->condition = c;
  node->then_quast = t;
  node->else_quast = e;
  return node;
}

Quast* Quast::node_of(std::vector<Polyhedron*> p, Quast* t, Quast* e) {
  Quast* node = node_of(static_cast<Inequation*>(nullptr), t, e);
  node->has_extended_condition = 1;
  node->extended_condition = p;
  return node;
}

Quast* Quast::with_subtrees(Quast* t, Quast* e) {
  if (!has_extended_condition) return node_of(condition->clone(), t, e);
  std::vector<Polyhedron*> members;
  for (Polyhedron* p : extended_condition) members.push_back(p->clone());
  return node_of(members, t, e);
}

Quast* Quast::leaf_with(IndexFunction* p) {
  Quast* leaf = new Quast();
  leaf->make_leaf(p);
  leaf->is_tagged = is_tagged;
  leaf->surrounding_counters = surrounding_counters;
  leaf->stmt = stmt;
  leaf->read_rank = read_rank;
  leaf->is_unbounded = is_unbounded;
  return leaf;
}

std::pair<Polyhedron*, Polyhedron*> Quast::split(Polyhedron* context) {
  Polyhedron* holds = context->clone();
  holds->add_constraint(condition);
  Polyhedron* fails = context->clone();
  Inequation* negated = condition->negate();
  fails->add_constraint(negated);
  delete negated;
  return {holds, fails};
}

void Quast::expect_bounded(const std::string& operation) {
  if (is_unbounded) stop(std::cout, "Quast::" + operation + ": unbounded leaf");
}

void Quast::expect_entry(int d, const std::string& operation) {
  if (d < 0 || d >= point->size()) stop(std::cout, "Quast::" + operation + ": dimension out of range");
}

// ---------------------------------------------------------------------------
// From a condition

Quast* Quast::from_condition(Condition* c, Quast* t, Quast* e) {
  Condition* s = Condition::simplify(c);
  Quast* result;
  if (s->is_leaf && s->is_value) {
    result = s->value == 1 ? t->clone() : e->clone();
  } else if (s->is_leaf && s->ineq->pred == EQ) {
    Inequation above(GREATER_EQ, s->ineq->lhs, s->ineq->rhs);
    Inequation below(GREATER_EQ, s->ineq->rhs, s->ineq->lhs);
    Condition left(&above);
    result = from_condition(new Condition(AND, &left, &below), t, e);
  } else if (s->is_leaf) {
    result = new Quast(s->ineq, t, e);
  } else if (s->op == AND || s->op == OR) {
    // The operands are detached from s, so each is consumed once.
    Condition* left = s->fg;
    Condition* right = s->fd;
    s->fg = s->fd = nullptr;
    Quast* inner = from_condition(right, t, e);
    result = s->op == AND ? from_condition(left, inner, e) : from_condition(left, t, inner);
    delete inner;
  } else {
    stop(std::cout, "Quast::from_condition: unhandled operator");
  }
  delete s;
  return result;
}

// ---------------------------------------------------------------------------
// Existence condition and bounds

Polyhedron* Quast::existence_condition() {
  if (is_empty) return ::empty();
  if (is_leaf || (!then_quast->is_empty && !else_quast->is_empty)) return new Polyhedron();
  if (has_extended_condition)
    stop(std::cerr, "Quast::existence_condition: extended conditions not handled");
  Polyhedron* region;
  Polyhedron* kept;
  if (else_quast->is_empty) {
    region = new Polyhedron(condition);
    kept = then_quast->existence_condition();
  } else {
    Inequation* negated = condition->negate();
    region = new Polyhedron(negated);
    delete negated;
    kept = else_quast->existence_condition();
  }
  region->add_constraints(kept);
  delete kept;
  return region;
}

Expression* Quast::get_max_positive_dim(int d) {
  if (is_empty) return nullptr;
  if (is_leaf) {
    expect_bounded("get_max_positive_dim");
    expect_entry(d, "get_max_positive_dim");
    return point->index_mapping[d]->clone();
  }
  // A side without leaf (a bottom, or a test over bottoms only) gives null
  // and is skipped.
  Expression* t = then_quast->get_max_positive_dim(d);
  Expression* e = else_quast->get_max_positive_dim(d);
  if (t == nullptr) return e;
  if (e == nullptr) return t;
  Expression* larger = new Expression(MAX, t, e);
  delete t;
  delete e;
  return larger;
}

// ---------------------------------------------------------------------------
// Compaction

namespace {

// The test of a node as the members of a union; a plain test is one member
// of one constraint. New polyhedra owned by the caller.
std::vector<Polyhedron*> members_of(Quast* q) {
  if (!q->has_extended_condition) return {new Polyhedron(q->condition)};
  std::vector<Polyhedron*> members;
  for (Polyhedron* p : q->extended_condition) members.push_back(p->clone());
  return members;
}

}  // namespace

// The conjunction of this node's test and t's, as the union of the
// pairwise intersections: t's member first when t's test was already
// extended (its chain was merged before), this node's first otherwise.
std::vector<Polyhedron*> Quast::merged_test(Quast* t) {
  std::vector<Polyhedron*> outer = members_of(this);
  std::vector<Polyhedron*> inner = members_of(t);
  std::vector<Polyhedron*> merged;
  for (Polyhedron* a : outer)
    for (Polyhedron* b : inner)
      merged.push_back(t->has_extended_condition ? Polyhedron::intersect(b, a)
                                                 : Polyhedron::intersect(a, b));
  del(outer);
  del(inner);
  return merged;
}

void Quast::compact() {
  if (!is_if) return;
  unshare(then_quast);
  then_quast->compact();
  unshare(else_quast);
  else_quast->compact();
  Quast* t = then_quast;
  if (!else_quast->is_empty || !t->is_if || !t->else_quast->is_empty) return;
  std::vector<Polyhedron*> merged = merged_test(t);
  replace_by(t);
  drop_test();
  has_extended_condition = 1;
  extended_condition = merged;
}

// ---------------------------------------------------------------------------
// Global simplification

Quast* Quast::one_pass_simplify() {
  if (!is_if) return clone();
  if (*then_quast == *else_quast) return then_quast->one_pass_simplify();
  return with_subtrees(then_quast->one_pass_simplify(), else_quast->one_pass_simplify());
}

Quast* Quast::simplify() {
  if (is_extended()) return clone();
  Quast* current = this;
  Quast* next = one_pass_simplify();
  while (!(*current == *next)) {
    if (current != this) delete current;
    current = next;
    next = current->one_pass_simplify();
  }
  if (current != this) delete current;
  return next;
}

// ---------------------------------------------------------------------------
// Pushing tests upward

int Quast::then_height() { return is_then_dag ? 1 : then_quast->height(); }

int Quast::else_height() { return is_else_dag ? 1 : else_quast->height(); }

// Moves the test of one side's subtree S = (d ? S1 : S2) above this
// node's test c: (c ? S : E) becomes (d ? (c ? S1 : E) : (c ? S2 : E)), and
// (c ? T : S) becomes (d ? (c ? T : S1) : (c ? T : S2)). The two new nodes
// share c and the other side, whose links they mark.
void Quast::push_through(Quast* Quast::*side) {
  Quast* s = this->*side;
  Quast* a = shallow_copy();
  Quast* b = shallow_copy();
  relink(a->*side, s->then_quast, 0);
  relink(b->*side, s->else_quast, 0);
  int through_then = side == &Quast::then_quast;
  a->is_then_dag = b->is_then_dag = !through_then;
  a->is_else_dag = b->is_else_dag = through_then;
  replace_by(s);
  relink(then_quast, a, 1);
  relink(else_quast, b, 1);
  is_then_dag = is_else_dag = 0;
}

void Quast::push_then() { push_through(&Quast::then_quast); }

void Quast::push_else() { push_through(&Quast::else_quast); }

void Quast::push() {
  if (is_empty || is_leaf) return;
  if (!is_if) stop(std::cout, "Quast::push(): should be an if");
  if (is_then_dag && is_else_dag) return;
  if (is_else_dag && then_quast->is_if)
    push_then();
  else if (is_then_dag && else_quast->is_if)
    push_else();
  else if (then_height() > else_height() && then_quast->is_if)
    push_then();
  else if (else_quast->is_if)
    push_else();
  else
    return;
  then_quast->push();
  else_quast->push();
}

// ---------------------------------------------------------------------------
// Local simplification

void Quast::local_one_pass_simplify_(Polyhedron* context) {
  if (!is_if) return;
  Polyhedron* then_context;
  Polyhedron* else_context;
  if (!has_extended_condition) {
    std::tie(then_context, else_context) = split(context);
  } else {
    then_context = context->clone();
    else_context = context->clone();
    if (extended_condition.size() == 1) then_context->add_constraints(extended_condition[0]);
  }
  if (then_context->is_empty()) {
    keep_one_side(else_quast, is_else_dag, else_context);
  } else if (else_context->is_empty()) {
    keep_one_side(then_quast, is_then_dag, then_context);
  } else {
    skip_repeated_tests();
    if (!is_then_dag) {
      unshare(then_quast);
      then_quast->local_one_pass_simplify_(then_context);
    }
    if (!is_else_dag) {
      unshare(else_quast);
      else_quast->local_one_pass_simplify_(else_context);
    }
    if ((then_quast->is_empty && else_quast->is_empty) ||
        (then_quast->is_leaf && else_quast->is_leaf && *then_quast == *else_quast))
      replace_by(then_quast);
  }
  delete then_context;
  delete else_context;
}

// A child repeating this node's extended test is bypassed: below the then
// link only its then subtree can be reached, below the else link only its
// else subtree.
void Quast::skip_repeated_tests() {
  if (!has_extended_condition) return;
  Quast* t = then_quast;
  if (t->is_if && t->has_extended_condition && equals(extended_condition, t->extended_condition)) {
    is_then_dag = t->is_then_dag;
    relink(then_quast, t->then_quast, 0);
  }
  Quast* e = else_quast;
  if (e->is_if && e->has_extended_condition && equals(extended_condition, e->extended_condition)) {
    is_else_dag = e->is_else_dag;
    relink(else_quast, e->else_quast, 0);
  }
}

// The other side cannot be entered: the node becomes the kept side, pruned
// under its context first unless its link is shared; a shared side's
// children stay shared, so both links become DAG links.
void Quast::keep_one_side(Quast*& side, int dag, Polyhedron* context) {
  if (dag) {
    replace_by(side);
    is_then_dag = is_else_dag = 1;
    return;
  }
  unshare(side);
  side->local_one_pass_simplify_(context);
  replace_by(side);
}

void Quast::local_one_pass_simplify() {
  Polyhedron universe;
  local_one_pass_simplify_(&universe);
}

void Quast::local_simplify() {
  if (is_if) {
    int then_higher = then_height() > else_height();
    Quast*& lower = then_higher ? else_quast : then_quast;
    if (!(then_higher ? is_else_dag : is_then_dag)) {
      unshare(lower);
      lower->local_simplify();
    }
  }
  int h = height();
  for (int round = 0; round < h; round++) {
    push();
    local_one_pass_simplify();
  }
}
