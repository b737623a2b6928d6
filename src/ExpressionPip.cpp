// Expressions of PipLib solution and condition vectors.

#include <climits>
#include <iostream>

#include "Expression.h"
#include "ExpressionNode.h"
#include "Polyhedron.h"
#include "Stop.h"
#include "pip.h"

namespace {

Expression* add_term(Expression* sum, int c, const Expression* term) {
  Expression* scaled = c == 1 ? term->clone() : make_node(TIMES, new Expression(c), term->clone());
  return make_node(PLUS, sum, scaled);
}

}  // namespace

// Columns: the compacted parameters (through actual_parameter), then the new
// parameters, then the constant. Denominators are not read: an unbounded
// optimum is marked by zero denominators, and its leaves must still exist.
Expression* Expression::from_PipVector(PipVector* v, std::map<int, Expression*> newparm) {
  int np = static_cast<int>(actual_parameter.size());
  int constant = np + static_cast<int>(newparm.size());
  bool columns_fit = newparm.empty() ||
                     (newparm.begin()->first >= 0 && newparm.rbegin()->first < constant);
  if (v->nb_elements != constant + 1 || !columns_fit)
    stop(std::cout, "Expression::from_PipVector(): bad vector size");
  for (int k = 0; k <= constant; k++)
    if (v->the_vector[k] < INT_MIN || v->the_vector[k] > INT_MAX)
      stop(std::cout, "Expression::from_PipVector(): value out of range");
  Expression* sum = new Expression(static_cast<int>(v->the_vector[constant]));
  for (int i = 0; i < np; i++) {
    int c = static_cast<int>(v->the_vector[i]);
    if (c == 0) continue;
    Expression* leaf = make_parameter_leaf(actual_parameter.at(i));
    sum = add_term(sum, c, leaf);
    delete leaf;
  }
  for (const auto& entry : newparm) {
    int c = static_cast<int>(v->the_vector[entry.first]);
    if (c != 0) sum = add_term(sum, c, entry.second);
  }
  Expression* simplified = sum->simplify();
  delete sum;
  return simplified;
}
