#ifndef TARVEX_EXPRESSION_NODE_H
#define TARVEX_EXPRESSION_NODE_H

// Helpers shared by the Expression sources only (not a public interface).

#include <string>

#include "Expression.h"

// op(l, r) taking ownership of l and r (no clone): for trees built
// bottom-up from fresh parts.
Expression* make_node(operator_t op, Expression* l, Expression* r);

// A new parameter leaf of that rank, made from the rank and not from the
// name, so that a counter sharing the name cannot take its place.
Expression* make_parameter_leaf(int rank);

// The text form of e, as operator<< writes it.
std::string expression_text(const Expression& e);

#endif
