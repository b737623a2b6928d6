// Text forms of expressions: the form written into every file and message,
// the two debugging forms on standard error, and the form read by isl.

#include <iostream>

#include "Expression.h"
#include "ExpressionNode.h"
#include "GeneratedName.h"
#include "Stop.h"

int expression_print_parenthesis = 0;

namespace {

const char* symbol(operator_t op) {
  switch (op) {
    case PLUS: return "+";
    case MINUS: return "-";
    case TIMES: return "*";
    case DIV: return "/";
    case POWER: return "^";
    case MOD: return "%";
    case MAX: return "max";
    case FLOOR: return "floor";
    case CEIL: return "ceil";
  }
  return "?";
}

int is_function(operator_t op) { return op == MAX || op == FLOOR || op == CEIL; }

// Constants, counters and parameters, the names as isl reads them when
// `for_isl`; nothing for an enumeration leaf. The C code of the statement
// macros (`c_code`) parenthesises the counters and reads the parameters in
// long long: the counters it rebuilds from the tiles hold multiples and
// sums of parameters that the original never forms (-3*N), which an int
// would not hold.
void print_leaf(std::ostream& os, const Expression& e, int c_code, bool for_isl = false) {
  auto written = [for_isl](const std::string& name) { return for_isl ? isl_name(name) : name; };
  if (e.is_val) os << e.val;
  if (e.is_counter) {
    if (c_code) os << "(" << written(get_counter_string(e.counter_rank)) << ")";
    else os << written(get_counter_string(e.counter_rank));
  }
  if (e.is_parameter) {
    if (c_code && !for_isl) os << "((long long)" << get_parameter_string(e.parameter_rank) << ")";
    else os << written(get_parameter_string(e.parameter_rank));
  }
}

// Operator nodes and polynomial enumerations are enclosed.
int needs_parentheses(const Expression* operand) {
  return !operand->is_leaf || operand->is_a_polynomial() ||
         operand->is_a_multivariate_polynomial();
}

// A negative constant after a minus sign, "i--1" in the text form, would
// read as a decrement in C code and not at all in isl: the forms they read
// enclose it.
int is_negative_after_minus(operator_t op, const Expression* operand) {
  return op == MINUS && operand->is_constant() && operand->val < 0;
}

void print_operand(std::ostream& os, const Expression* operand, operator_t op = PLUS) {
  if (needs_parentheses(operand) || (expression_print_parenthesis && is_negative_after_minus(op, operand)))
    os << "(" << *operand << ")";
  else
    os << *operand;
}

void print_plain(std::ostream& os, const Expression& e);

void print_plain_operand(std::ostream& os, const Expression* operand) {
  if (operand->is_leaf) {
    print_plain(os, *operand);
    return;
  }
  os << "(";
  print_plain(os, *operand);
  os << ")";
}

void print_plain(std::ostream& os, const Expression& e) {
  if (e.is_leaf) {
    print_leaf(os, e, 0);
  } else if (is_function(e.op)) {
    os << symbol(e.op) << "(";
    print_plain(os, *e.fg);
    os << ",";
    print_plain(os, *e.fd);
    os << ")";
  } else {
    print_plain_operand(os, e.fg);
    os << symbol(e.op);
    print_plain_operand(os, e.fd);
  }
}

void print_with_addresses(std::ostream& os, const Expression& e);

void print_operand_with_address(std::ostream& os, const Expression* operand) {
  if (operand->is_leaf) {
    print_with_addresses(os, *operand);
    return;
  }
  os << "(";
  print_with_addresses(os, *operand);
  os << ")";
}

void print_with_addresses(std::ostream& os, const Expression& e) {
  os << "(" << static_cast<const void*>(&e) << ")";
  if (e.is_leaf || is_function(e.op)) {
    print_plain(os, e);
    return;
  }
  print_operand_with_address(os, e.fg);
  os << symbol(e.op);
  print_operand_with_address(os, e.fd);
}

[[noreturn]] void no_isl_form(const std::string& reason, const Expression& e) {
  stop(std::cerr, "Expression::print_iscc: " + reason + expression_text(e));
}

void print_iscc_operand(std::ostream& os, const Expression* operand, operator_t op = PLUS) {
  if (needs_parentheses(operand) || is_negative_after_minus(op, operand)) {
    os << "(";
    operand->print_iscc(os);
    os << ")";
  } else {
    operand->print_iscc(os);
  }
}

// floor or ceil of numerator / divisor with a bare positive divisor, which
// is the only quotient isl reads; a negative divisor moves its sign up.
void print_iscc_quotient(std::ostream& os, const char* function, const Expression& e) {
  if (!e.fd->is_constant() || e.fd->val == 0)
    no_isl_form("constant non-zero divisor expected: ", e);
  long long divisor = e.fd->val;
  os << function << "((";
  if (divisor < 0) {
    os << "-(";
    e.fg->print_iscc(os);
    os << ")";
  } else {
    e.fg->print_iscc(os);
  }
  os << ")/" << (divisor < 0 ? -divisor : divisor) << ")";
}

}  // namespace

void Expression::print(std::ostream& os) const {
  if (is_leaf) {
    print_leaf(os, *this, expression_print_parenthesis);
  } else if (is_function(op)) {
    os << symbol(op) << "(" << *fg << "," << *fd << ")";
  } else {
    print_operand(os, fg);
    os << symbol(op);
    print_operand(os, fd, op);
  }
}

std::string Expression::print_vhdl(std::ostream&, std::ostream&) const {
  stop(std::cerr, "Expression::print_vhdl: not an EnumerationExpression");
}

void Expression::print() const { print_plain(std::cerr, *this); }

void Expression::print_ptr() const { print_with_addresses(std::cerr, *this); }

void Expression::print_iscc(std::ostream& os) const {
  if (is_leaf) {
    if (is_counter || is_parameter) print_leaf(os, *this, expression_print_parenthesis, true);
    else print(os);
    return;
  }
  switch (op) {
    case DIV:
    case FLOOR: print_iscc_quotient(os, "floor", *this); return;
    case CEIL: print_iscc_quotient(os, "ceil", *this); return;
    case POWER: no_isl_form("no isl form: ", *this);
    case MAX:
      os << "max(";
      fg->print_iscc(os);
      os << ",";
      fd->print_iscc(os);
      os << ")";
      return;
    case MOD:
      if (!fd->is_constant() || fd->val <= 0)
        no_isl_form("positive constant modulus expected: ", *this);
      // isl rejects a bare constant before "%" and binds a minus sign
      // looser than "%": a constant numerator is enclosed.
      if (fg->is_constant()) {
        os << "(" << fg->val << ")%" << fd->val;
        return;
      }
      break;
    default: break;
  }
  print_iscc_operand(os, fg);
  os << symbol(op);
  print_iscc_operand(os, fd, op);
}

std::ostream& operator<<(std::ostream& os, const Expression& e) {
  e.print(os);
  return os;
}

std::ostream& operator<<(std::ostream& os, const std::vector<Expression*>& l) {
  for (const Expression* e : l) os << *e << std::endl;
  return os;
}

std::ostream& operator<<(std::ostream& os, const std::set<Expression*>& l) {
  for (const Expression* e : l) os << *e << std::endl;
  return os;
}

std::ostream& operator<<(std::ostream& os, const std::map<int, Expression*>& m) {
  for (const auto& entry : m)
    os << get_parameter_string(entry.first) << " -> " << *entry.second << std::endl;
  return os;
}
