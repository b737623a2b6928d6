// The affine vector form of an expression, its cache, and the renamings and
// substitutions of its leaves.

#include <algorithm>
#include <iostream>

#include "Expression.h"
#include "ExpressionNode.h"
#include "Stop.h"
#include "ValueOutOfRange.h"

namespace {

const char* const non_affine = "Expression::to_vector: Non affine expression";
const char* const non_affine_newparm = "Expression::to_vector: Non affine expression (newparm?)";

[[noreturn]] void reject_product() {
  std::cout << non_affine << std::endl;
  throw non_affine;
}

// The rows are int: an entry beyond int throws ValueOutOfRange rather than
// wrap into another constraint (2147483646 - N + 3 into -2147483647 - N).
std::vector<int> times(std::vector<int> row, int k) {
  for (int& entry : row) entry = checked_int(static_cast<long long>(entry) * k);
  return row;
}

std::vector<int> combine(std::vector<int> l, const std::vector<int>& r, int sign) {
  for (size_t i = 0; i < l.size(); i++) l[i] = checked_int(l[i] + static_cast<long long>(sign) * r[i]);
  return l;
}

// Applies leaf_image to every leaf (a null image keeps a clone of the leaf)
// and rebuilds the operator nodes over the results, recursing directly.
template <class F>
Expression* map_leaves(const Expression* e, const F& leaf_image) {
  if (e->is_leaf) {
    Expression* image = leaf_image(e);
    return image ? image : e->clone();
  }
  return make_node(e->op, map_leaves(e->fg, leaf_image), map_leaves(e->fd, leaf_image));
}

}  // namespace

std::vector<int> Expression::to_vector() const {
  if (has_up_to_date_vector()) return vec;
  int nbc = get_nb_counters();
  int nbp = get_nb_parameters();
  std::vector<int> row(nbc + nbp + 1, 0);
  if (is_leaf) {
    // A count polynomial has no affine value.
    if (is_an_enumeration()) reject_product();
    if (is_val) row[nbc + nbp] = val;
    if (is_counter) {
      if (counter_rank < 0 || counter_rank >= nbc)
        stop(std::cout, "Expression::to_vector: counter rank out of range: " +
                            std::to_string(counter_rank));
      row[counter_rank] = 1;
    }
    if (is_parameter) {
      if (parameter_rank < 0 || parameter_rank >= nbp)
        stop(std::cout, "Expression::to_vector: parameter rank out of range: " +
                            std::to_string(parameter_rank));
      row[nbc + parameter_rank] = 1;
    }
  } else {
    std::vector<int> l = fg->to_vector();
    std::vector<int> r = fd->to_vector();
    switch (op) {
      case PLUS: row = combine(l, r, 1); break;
      case MINUS: row = combine(l, r, -1); break;
      case TIMES:
        if (fg->is_constant()) row = times(r, fg->val);
        else if (fd->is_constant()) row = times(l, fd->val);
        else reject_product();
        break;
      default:
        std::cout << non_affine_newparm << ": " << *this << std::endl;
        throw non_affine_newparm;
    }
  }
  vec = row;
  has_vector = 1;
  _nb_counters = nbc;
  _nb_parameters = nbp;
  return row;
}

std::vector<int> Expression::to_vector(const std::set<int>& counters,
                                       const std::set<int>& parameters) const {
  return to_vector(std::vector<int>(counters.begin(), counters.end()),
                   std::vector<int>(parameters.begin(), parameters.end()));
}

std::vector<int> Expression::to_vector(const std::vector<int>& counters,
                                       const std::vector<int>& parameters) const {
  std::vector<int> full = to_vector();
  int nbc = get_nb_counters();
  std::vector<int> row;
  for (int c : counters) row.push_back(full.at(c));
  for (int p : parameters) row.push_back(full.at(nbc + p));
  row.push_back(full.back());
  return row;
}

std::vector<int> Expression::to_vector_linear(const std::vector<int>& counters) const {
  std::vector<int> full = to_vector();
  std::vector<int> ranks(counters);
  std::sort(ranks.begin(), ranks.end());
  std::vector<int> row;
  for (int c : ranks) row.push_back(full.at(c));
  return row;
}

Expression* Expression::linear_part() const {
  std::vector<int> row = to_vector();
  std::fill(row.begin() + get_nb_counters(), row.end(), 0);
  return new Expression(row);
}

Expression* Expression::param_part() const {
  std::vector<int> row = to_vector();
  std::fill(row.begin(), row.begin() + get_nb_counters(), 0);
  row.back() = 0;
  return new Expression(row);
}

Expression* Expression::simplify_matrix() const { return new Expression(to_vector()); }

int Expression::is_translation(const Expression* e) const {
  Expression difference(combine(to_vector(), e->to_vector(), -1));
  return difference.is_constant();
}

std::set<int> Expression::get_counters() const {
  if (is_leaf) return is_counter ? std::set<int>{counter_rank} : std::set<int>();
  std::set<int> ranks = fg->get_counters();
  std::set<int> right = fd->get_counters();
  ranks.insert(right.begin(), right.end());
  return ranks;
}

std::set<int> Expression::get_parameters() const {
  if (is_leaf) return is_parameter ? std::set<int>{parameter_rank} : std::set<int>();
  std::set<int> ranks = fg->get_parameters();
  std::set<int> right = fd->get_parameters();
  ranks.insert(right.begin(), right.end());
  return ranks;
}

std::vector<Expression*> Expression::get_divs() {
  if (is_leaf) return {};
  std::vector<Expression*> divs = fg->get_divs();
  std::vector<Expression*> right = fd->get_divs();
  divs.insert(divs.end(), right.begin(), right.end());
  if (op == DIV) divs.push_back(this);
  return divs;
}

std::vector<Expression*> Expression::get_max_terms() const {
  if (!is_op(MAX)) return {clone()};
  std::vector<Expression*> terms = fg->get_max_terms();
  std::vector<Expression*> right = fd->get_max_terms();
  terms.insert(terms.end(), right.begin(), right.end());
  return terms;
}

// The leaf is made from the new rank directly (not from the name), so a
// counter sharing the parameter's name cannot take its place.
Expression* Expression::parameters_to_parameters(const std::map<int, int>& m) const {
  if (is_leaf) {
    auto image = m.find(parameter_rank);
    if (!is_parameter || image == m.end()) return clone();
    Expression* leaf = clone();
    leaf->parameter_rank = image->second;
    leaf->has_vector = 0;
    return leaf;
  }
  return make_node(op, fg->parameters_to_parameters(m), fd->parameters_to_parameters(m));
}

Expression* Expression::parameters_to_counters(const std::map<int, int>& m) const {
  return map_leaves(this, [&m](const Expression* leaf) -> Expression* {
    auto image = m.find(leaf->parameter_rank);
    if (!leaf->is_parameter || image == m.end()) return nullptr;
    return var(image->second);
  });
}

Expression* Expression::counters_to_parameters(const std::map<int, int>& m) const {
  return map_leaves(this, [&m](const Expression* leaf) -> Expression* {
    auto image = m.find(leaf->counter_rank);
    if (!leaf->is_counter || image == m.end()) return nullptr;
    return make_parameter_leaf(image->second);
  });
}

Expression* Expression::counters_to_counters(const std::map<int, int>& m) const {
  return map_leaves(this, [&m](const Expression* leaf) -> Expression* {
    auto image = m.find(leaf->counter_rank);
    if (!leaf->is_counter || image == m.end()) return nullptr;
    return Expression::from_counter_rank(image->second);
  });
}

Expression* Expression::substitute_counters(const std::map<int, Expression*>& m) const {
  return map_leaves(this, [&m](const Expression* leaf) -> Expression* {
    auto image = m.find(leaf->counter_rank);
    if (!leaf->is_counter || image == m.end()) return nullptr;
    return image->second->clone();
  });
}

Expression* Expression::substitute_parameters(const std::map<int, Expression*>& m) const {
  return map_leaves(this, [&m](const Expression* leaf) -> Expression* {
    auto image = m.find(leaf->parameter_rank);
    if (!leaf->is_parameter || image == m.end()) return nullptr;
    return image->second->clone();
  });
}
