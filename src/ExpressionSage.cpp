// Expressions of C subscripts, bounds and conditions, read from the syntax
// tree bottom-up: each node's attribute is a new Expression* owned by the
// traversal until its parent consumes it.

#include <climits>
#include <cmath>
#include <iostream>
#include <sstream>

#include "Expression.h"
#include "Stop.h"
#include "SyntaxTree.h"
#include "TypeNames.h"
#include "ValueOutOfRange.h"

namespace {

const std::string from_sage = "Expression::from_Sage: ";

std::string function_name(SgNode* node) {
  SgFunctionCallExp* call = isSgFunctionCallExp(node);
  if (!call || call->get_numberOfTraversalSuccessors() == 0) return "";
  SgFunctionRefExp* callee = isSgFunctionRefExp(call->get_traversalSuccessorByIndex(0));
  return callee ? callee->get_symbol()->get_name().getString() : "";
}

// The value of `l op r` for two constants when it is affine and fits an
// int (-2 * N must stay affine: a product of two operator nodes is not).
bool folded(operator_t op, const Expression* l, const Expression* r, long long& value) {
  if (!l->is_constant() || !r->is_constant()) return false;
  long long a = l->val, b = r->val;
  switch (op) {
    case PLUS: value = a + b; break;
    case MINUS: value = a - b; break;
    case TIMES: value = a * b; break;
    default: return false;
  }
  return value >= INT_MIN && value <= INT_MAX;
}

// op over the two operand attributes, which are freed once cloned.
Expression* binary(operator_t op, const std::vector<Expression*>& operands) {
  long long value = 0;
  Expression* made = folded(op, operands[0], operands[1], value) ? new Expression(static_cast<int>(value))
                                                                  : new Expression(op, operands[0], operands[1]);
  delete operands[0];
  delete operands[1];
  return made;
}

bool is_long_literal(SgNode* node, long long& value) {
  if (SgLongIntVal* literal = isSgLongIntVal(node)) value = literal->get_value();
  else if (SgLongLongIntVal* literal = isSgLongLongIntVal(node)) value = literal->get_value();
  else return false;
  return true;
}

// A long or long long literal within int; nullptr for one beyond int, which
// only a unary minus can take (check_literals refused the others).
Expression* long_literal(SgNode* node) {
  long long value = 0;
  is_long_literal(node, value);
  return value >= INT_MIN && value <= INT_MAX ? new Expression(static_cast<int>(value)) : nullptr;
}

Expression* negation(SgMinusOp* node, Expression* operand) {
  long long value = 0;
  if (!operand && is_long_literal(node->get_operand(), value)) return new Expression(checked_int(-value));
  Expression minus_one(-1);
  return binary(TIMES, {minus_one.clone(), operand});
}

Expression* integral(SgDoubleVal* literal) {
  double x = literal->get_value();
  if (std::floor(x) != x || x < INT_MIN || x > INT_MAX)
    stop(std::cout, from_sage + "not an integer:" + literal->unparseToCompleteString());
  return new Expression(static_cast<int>(x));
}

// floor(a/b) or ceil(a/b). The argument list passed its single element
// through (or null when it had another count), so the list's checks are made
// here, after the call itself is known to be floor or ceil.
Expression* floor_or_ceil(SgNode* call, Expression* argument) {
  SgNode* list = call->get_traversalSuccessorByIndex(1);
  std::string arguments = list->unparseToCompleteString();
  if (list->get_numberOfTraversalSuccessors() != 1)
    stop(std::cout, from_sage + "unary function expected (ceil/floor handling):" + arguments);
  if (!argument->is_op(DIV)) {
    std::ostringstream element;
    argument->print(element);
    stop(std::cout, from_sage + "unary_function (./.) expected (ceil/floor handling):" +
                        arguments + "\n" + element.str());
  }
  Expression* quotient = new Expression(is_ceil(call) ? CEIL : FLOOR, argument->fg, argument->fd);
  delete argument;
  return quotient;
}

// Whether C computes `node` in floating point: a floating literal, a cast
// to a floating type, or arithmetic over one of them. The variables of
// bounds, conditions and subscripts are ints (checked when the model is
// built), and floor() and ceil() stand for integer quotients here.
bool is_floating(SgNode* node) {
  if (!node) return false;
  switch (node->variantT()) {
    case V_SgDoubleVal: return true;
    case V_SgCastExp: return !names_signed_integer(isSgCastExp(node)->get_type()->get_text());
    case V_SgAddOp: case V_SgSubtractOp: case V_SgMultiplyOp: case V_SgDivideOp: case V_SgMinusOp:
      for (SgNode* operand : node->get_traversalSuccessorContainer())
        if (is_floating(operand)) return true;
      return false;
    default:
      return false;
  }
}

// A cast is the identity on an int only to int, a wider signed integer
// type or double; any other (unsigned, char, float) may change the value.
void check_cast(SgNode* node) {
  std::string type = isSgCastExp(node)->get_type()->get_text();
  std::string words = type_words(type);
  if (!names_wide_signed_integer(type) && words != "double" && words != "long double")
    stop(std::cout, from_sage + "a cast to " + type + " may change the value: " + node->unparseToString());
}

// The model's leaves are int: a long literal beyond int throws
// ValueOutOfRange, but a negated one is read whole (-2147483648 is an int).
void check_literals(SgNode* node) {
  if (!node) return;
  long long value = 0;
  if (SgMinusOp* minus = isSgMinusOp(node))
    if (is_long_literal(minus->get_operand(), value)) {
      checked_int(-value);
      return;
    }
  if (is_long_literal(node, value)) checked_int(value);
  for (SgNode* child : node->get_traversalSuccessorContainer()) check_literals(child);
}

// Stops the run on what C computes otherwise than the model reads it: a
// value-changing cast, or a division of floating-point operands, a real
// quotient where the model has an integer one ((double)N / 2 is 2.5 for
// N = 5, not 2). The quotient that floor() or ceil() rounds is the model's
// exact one, floating or not.
void check_arithmetic(SgNode* node, bool rounded) {
  if (!node) return;
  if (node->variantT() == V_SgCastExp) check_cast(node);
  if (node->variantT() == V_SgDivideOp && !rounded && is_floating(node))
    stop(std::cout, from_sage + "a division in floating point has no integer form: " + node->unparseToString());
  bool rounds = ::is_floor(node) || ::is_ceil(node);
  for (SgNode* child : node->get_traversalSuccessorContainer())
    check_arithmetic(child, rounds || (rounded && isSgExprListExp(node)));
}

class MakeExpressionTraversal : public AstBottomUpProcessing<Expression*> {
 protected:
  Expression* evaluateSynthesizedAttribute(SgNode* node, SynthesizedAttributesList list) override {
    switch (node->variantT()) {
      case V_SgVarRefExp:
        return new Expression(isSgVarRefExp(node)->get_symbol()->get_name().getString());
      case V_SgIntVal: return new Expression(isSgIntVal(node)->get_value());
      case V_SgDoubleVal:
        if (!list.empty() && list[0]) return list[0];
        return integral(isSgDoubleVal(node));
      case V_SgAddOp: return binary(PLUS, list);
      case V_SgSubtractOp: return binary(MINUS, list);
      case V_SgMultiplyOp: return binary(TIMES, list);
      case V_SgDivideOp: return binary(DIV, list);
      case V_SgLongIntVal: case V_SgLongLongIntVal: return long_literal(node);
      case V_SgMinusOp: return negation(isSgMinusOp(node), list[0]);
      case V_SgCastExp: return list[0];
      case V_SgFunctionRefExp: return new Expression(0);
      case V_SgExprListExp:
        if (list.size() == 1) return list[0];
        for (Expression* element : list) delete element;
        return nullptr;
      case V_SgFunctionCallExp:
        delete list[0];
        if (!::is_floor(node) && !::is_ceil(node))
          stop(std::cout, from_sage + "floor/ceil expected:" + node->unparseToCompleteString());
        return floor_or_ceil(node, list[1]);
      default:
        stop(std::cout, from_sage + node->class_name() + " unhandled");
    }
  }
};

}  // namespace

int is_floor(SgNode* node) { return function_name(node) == "floor"; }
int is_ceil(SgNode* node) { return function_name(node) == "ceil"; }

Expression* Expression::from_Sage(SgExpression* e) {
  check_arithmetic(e, false);
  check_literals(e);
  MakeExpressionTraversal traversal;
  return traversal.traverse(e);
}
