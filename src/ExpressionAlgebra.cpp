// Rewriting of expression trees: simplification, distribution, scaling,
// fraction removal, integrity check and ordering.

#include <algorithm>
#include <iostream>

#include "Expression.h"
#include "ExpressionNode.h"
#include "Stop.h"

Expression* Expression::one_pass_simplify() const {
  if (is_leaf) return clone();
  // Each rule tests the operand as it is, before that operand's own pass.
  if (op == PLUS && fg->is_value(0)) return fd->one_pass_simplify();
  if (op == PLUS && fd->is_value(0)) return fg->one_pass_simplify();
  if (op == TIMES && fg->is_value(1)) return fd->one_pass_simplify();
  if (op == TIMES && fd->is_value(1)) return fg->one_pass_simplify();
  if (op == TIMES && (fg->is_value(0) || fd->is_value(0))) return new Expression(0);
  if (op == DIV && fg->is_value(0)) return new Expression(0);
  if (op == DIV && fd->is_value(1)) return fg->one_pass_simplify();
  return make_node(op, fg->one_pass_simplify(), fd->one_pass_simplify());
}

Expression* Expression::simplify() const {
  Expression* previous = clone();
  Expression* current = one_pass_simplify();
  while (!(*current == *previous)) {
    delete previous;
    previous = current;
    current = previous->one_pass_simplify();
  }
  delete previous;
  // The rewrites keep the affine vector, so the cache carries over.
  current->has_vector = has_vector;
  current->vec = vec;
  current->_nb_counters = _nb_counters;
  current->_nb_parameters = _nb_parameters;
  return current;
}

namespace {

int is_rational(const Expression* e) { return e->is_constant() || e->is_constant_fraction(); }

// develop(op(l, r)) over fresh copies of l and r.
Expression* develop_new(operator_t op, const Expression* l, const Expression* r) {
  Expression node(op, l, r);
  return node.develop();
}

Expression* develop_scaled(const Expression* enumeration, int k) {
  Expression* scaled = enumeration->scale(k);
  Expression* developed = scaled->develop();
  delete scaled;
  return developed;
}

}  // namespace

Expression* Expression::develop() const {
  if (is_leaf) return clone();
  if (is_rational(fg) && is_rational(fd)) return evaluate();
  if (op == TIMES && fg->is_constant() && fd->is_an_enumeration())
    return develop_scaled(fd, fg->val);
  if (op == TIMES && fd->is_constant() && fg->is_an_enumeration())
    return develop_scaled(fg, fd->val);
  if (op == TIMES && fg->is_leaf && fd->is_op(PLUS))
    return make_node(PLUS, develop_new(TIMES, fg, fd->fg), develop_new(TIMES, fg, fd->fd));
  if (op == TIMES && fg->is_op(PLUS))
    return make_node(PLUS, develop_new(TIMES, fg->fg, fd), develop_new(TIMES, fg->fd, fd));
  return clone();
}

Expression* Expression::scale(int k) const {
  if (k == 0) return new Expression(0);
  if (k == 1) return clone();
  return make_node(TIMES, new Expression(k), clone());
}

Expression* Expression::scale(std::set<int>) const {
  stop(std::cerr, "Expression::scale: expect an EnumerationExpression");
}

std::pair<std::map<int, std::vector<int>>, Expression*> Expression::expand(
    const std::map<int, int>& bits) const {
  if (is_leaf) return std::make_pair(std::map<int, std::vector<int>>(), clone());
  auto left = fg->expand(bits);
  auto right = fd->expand(bits);
  for (const auto& entry : right.first) left.first[entry.first] = entry.second;
  return std::make_pair(left.first, make_node(op, left.second, right.second));
}

std::pair<Expression*, int> Expression::remove_fractions() {
  int l = 1;
  bool first = true;
  for (Expression* div : get_divs()) {
    if (!div->fd->is_constant()) continue;
    l = first ? div->fd->val : lcm(l, div->fd->val);
    first = false;
  }
  Expression factor(l);
  return std::make_pair(develop_new(TIMES, &factor, this), l);
}

namespace {

// A copy with every DIV turned into TIMES; adds the divisors to `divisors`.
Expression* divs_to_times(const Expression* e, int& divisors) {
  if (e->is_leaf) return e->clone();
  if (e->op == DIV) {
    if (!e->fd->is_constant())
      stop(std::cerr, "Expression::remove_divs: constant divisor expected: " +
                          expression_text(*e));
    divisors += e->fd->val;
  }
  Expression* l = divs_to_times(e->fg, divisors);
  Expression* r = divs_to_times(e->fd, divisors);
  return make_node(e->op == DIV ? TIMES : e->op, l, r);
}

}  // namespace

Expression* Expression::remove_divs() const {
  int divisors = 0;
  Expression* copy = divs_to_times(this, divisors);
  return make_node(PLUS, copy, new Expression(divisors));
}

std::set<void*> union_and_check(std::set<void*> a, const std::set<void*>& b) {
  for (void* element : b)
    if (!a.insert(element).second) throw "union_and_check: interference found";
  return a;
}

std::set<void*> Expression::check() {
  if (is_leaf) return {static_cast<void*>(this)};
  try {
    std::set<void*> right = fd->check();
    std::set<void*> left = fg->check();
    return union_and_check(left, right);
  } catch (const char*) {
    throw "Expression::check: interference found";
  }
}

bool Expression::operator<(const Expression& e) const {
  if (has_div() || e.has_div()) return expression_text(*this) < expression_text(e);
  std::vector<int> mine = to_vector();
  std::vector<int> theirs = e.to_vector();
  return std::lexicographical_compare(mine.begin(), mine.end(), theirs.begin(), theirs.end());
}
