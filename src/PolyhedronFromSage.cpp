// The polyhedron of a C condition read from the front end's syntax tree:
// comparisons, &&, boolean literals, and bounds against min and max calls.

#include <iostream>

#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Stop.h"
#include "SyntaxTree.h"

// 1 when n is a call whose callee is a plain function reference named `name`.
static int is_call_of(SgNode* n, const std::string& name) {
  if (!n || n->variantT() != V_SgFunctionCallExp) return 0;
  SgFunctionRefExp* callee = isSgFunctionRefExp(n->get_traversalSuccessorByIndex(0));
  return callee && callee->get_symbol()->get_name().getString() == name;
}

int is_min(SgNode* n) { return is_call_of(n, "min"); }

int is_max(SgNode* n) { return is_call_of(n, "max"); }

static std::vector<SgExpression*> call_arguments(SgNode* n, const std::string& who) {
  SgFunctionCallExp* call = isSgFunctionCallExp(n);
  if (!call) stop(std::cout, "SgExpression::" + who + ": not a function!");
  return call->get_args()->get_expressions();
}

SgExpression* get_lhs(SgNode* n) {
  std::vector<SgExpression*> arguments = call_arguments(n, "get_lhs");
  if (arguments.empty()) stop(std::cout, "Polyhedron::get_lhs: function with no arguments");
  return arguments[0];
}

SgExpression* get_rhs(SgNode* n) {
  std::vector<SgExpression*> arguments = call_arguments(n, "get_rhs");
  if (arguments.size() < 2)
    stop(std::cout, "Polyhedron::get_rhs: function with less than two arguments");
  return arguments[1];
}

// The bounds of a min (or max) nest: every argument that is not itself a
// call of the same function, the last argument of a call before the
// first. A call with a third argument would silently lose it, so it stops
// the run.
static void collect_bounds(SgExpression* b, int (*is_chain)(SgNode*), std::vector<SgExpression*>& bounds) {
  if (!is_chain(b)) {
    bounds.push_back(b);
    return;
  }
  if (call_arguments(b, "get_rhs").size() > 2)
    stop(std::cout, "Polyhedron::from_Sage: min/max with more than two arguments unhandled");
  collect_bounds(get_rhs(b), is_chain, bounds);
  collect_bounds(get_lhs(b), is_chain, bounds);
}

static std::vector<SgExpression*> collect_bounds(SgExpression* b, int (*is_chain)(SgNode*)) {
  std::vector<SgExpression*> bounds;
  collect_bounds(b, is_chain, bounds);
  return bounds;
}

// L pred B for every bound B; a strict "<" is written L <= B - 1.
static Polyhedron* bound_polyhedron(SgExpression* left, const std::vector<SgExpression*>& bounds,
                                    VariantT kind) {
  Expression* l = Expression::from_Sage(left);
  Polyhedron* result = new Polyhedron();
  for (SgExpression* bound : bounds) {
    if (kind == V_SgEqualityOp) stop(std::cout, "Polyhedron::from_Sage: = max unhandled");
    Expression* b = Expression::from_Sage(bound);
    Expression one(1);
    Expression b_minus_one(MINUS, b, &one);
    Inequation* c = nullptr;
    switch (kind) {
      case V_SgLessThanOp: c = new Inequation(LESS_EQ, l, &b_minus_one); break;
      case V_SgLessOrEqualOp: c = new Inequation(LESS_EQ, l, b); break;
      case V_SgGreaterThanOp: c = new Inequation(GREATER, l, b); break;
      default: c = new Inequation(GREATER_EQ, l, b); break;
    }
    result->add_constraint(c);
    delete c;
    delete b;
  }
  delete l;
  return result;
}

static Polyhedron* plain_comparison(SgExpression* e) {
  Inequation* c = Inequation::from_Sage(e);
  Polyhedron* result = new Polyhedron(c);
  delete c;
  return result;
}

Polyhedron* Polyhedron::from_Sage(SgExpression* e) {
  if (SgBoolValExp* literal = isSgBoolValExp(e)) {
    std::cout << (literal->get_value() ? "true" : "false") << std::endl;
    return literal->get_value() ? universe() : empty();
  }
  SgBinaryOp* op = isSgBinaryOp(e);
  if (!op) stop(std::cout, "Polyhedron::fromSage: invalid expression " + e->class_name());
  SgExpression* left = op->get_lhs_operand();
  SgExpression* right = op->get_rhs_operand();
  VariantT kind = e->variantT();
  switch (kind) {
    case V_SgAndOp: {
      Polyhedron* p = from_Sage(left);
      Polyhedron* q = from_Sage(right);
      Polyhedron* result = intersect(p, q);
      delete p;
      delete q;
      return result;
    }
    case V_SgLessThanOp:
    case V_SgLessOrEqualOp:
      if (is_min(right)) return bound_polyhedron(left, collect_bounds(right, is_min), kind);
      if (is_max(right)) stop(std::cout, "Polyhedron::from_Sage: < max unhandled");
      return plain_comparison(e);
    case V_SgEqualityOp:
    case V_SgGreaterThanOp:
    case V_SgGreaterOrEqualOp:
      if (is_max(right)) return bound_polyhedron(left, collect_bounds(right, is_max), kind);
      if (is_min(right)) stop(std::cout, "Polyhedron::from_Sage: > min unhandled");
      return plain_comparison(e);
    default:
      stop(std::cout, "Polyhedron::from_Sage: " + e->class_name() + " unhandled");
  }
}
