// Index functions read from outside: C array references and solver answers.

#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "SyntaxTree.h"
#include "pip.h"

std::pair<std::string, IndexFunction*> IndexFunction::from_Sage(SgExpression* n,
                                                                std::vector<int> counters) {
  std::vector<Expression*> subscripts;  // innermost first
  SgNode* node = n;
  while (node->variantT() != V_SgVarRefExp) {
    // Only a[e] chains are array accesses: a dereference or a member access
    // on the left side is no subscript list and must not be read as one.
    if (node->variantT() != V_SgPntrArrRefExp) {
      del(subscripts);
      stop(std::cout, "IndexFunction::from_Sage: " + node->class_name() + " unhandled");
    }
    SgPntrArrRefExp* access = isSgPntrArrRefExp(node);
    subscripts.push_back(Expression::from_Sage(access->get_rhs_operand()));
    node = access->get_lhs_operand();
  }
  std::vector<Expression*> entries(subscripts.rbegin(), subscripts.rend());
  IndexFunction* f = new IndexFunction();
  f->surrounding_counters = counters;
  f->index_mapping = entries;  // adopted: freshly built
  std::string name = isSgVarRefExp(node)->get_symbol()->get_name().getString();
  return std::make_pair(name, f);
}

IndexFunction* IndexFunction::from_PipList(PipList* pip_list, std::map<int, Expression*> newparm) {
  return from_PipList(pip_list, newparm, 0);
}

IndexFunction* IndexFunction::from_PipList(PipList* pip_list, std::map<int, Expression*> newparm,
                                           int dim_theta) {
  for (int k = 0; k < dim_theta; k++) {
    if (pip_list == nullptr) stop(std::cout, "IndexFunction::from_Piplist: incorrect size");
    pip_list = pip_list->next;
  }
  // Dense form: counters the problem did not solve for stay 0.
  IndexFunction* point = new IndexFunction(std::vector<int>(), std::vector<int>(get_nb_counters(), 0));
  for (size_t k = 0; k < actual_counter.size(); k++) {
    if (pip_list == nullptr) {
      delete point;
      stop(std::cout, "IndexFunction::from_Piplist: incorrect size");
    }
    Expression*& entry = point->index_mapping[actual_counter[static_cast<int>(k)]];
    delete entry;
    entry = Expression::from_PipVector(pip_list->vector, newparm);
    pip_list = pip_list->next;
  }
  return point;
}
