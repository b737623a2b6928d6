#include "Inequation.h"

#include <iostream>
#include <sstream>

#include "Stop.h"
#include "SyntaxTree.h"
#include "ValueOutOfRange.h"

namespace {

const char* plain_symbol(predicate_t pred) {
  switch (pred) {
    case LESS: return "<";
    case LESS_EQ: return "<=";
    case GREATER: return ">";
    case GREATER_EQ: return ">=";
    case EQ: return "=";
  }
  return "?";
}

// a - b + shift on the constant. The rows are int: an entry beyond int
// throws ValueOutOfRange rather than wrap (i < INT_MIN would become a
// constraint that always holds). The shift is taken in the same step, so
// j > INT_MIN, j + 2147483648 - 1 >= 0, fits.
std::vector<int> difference(const std::vector<int>& a, const std::vector<int>& b, int shift = 0) {
  std::vector<int> row(a.size());
  for (size_t i = 0; i + 1 < a.size(); i++) row[i] = checked_int(static_cast<long long>(a[i]) - b[i]);
  row.back() = checked_int(static_cast<long long>(a.back()) - b.back() + shift);
  return row;
}

// Builds a constraint over two fresh sides and frees them.
Inequation* adopt(predicate_t pred, Expression* lhs, Expression* rhs) {
  Inequation* made = new Inequation(pred, lhs, rhs);
  delete lhs;
  delete rhs;
  return made;
}

}  // namespace

Inequation::Inequation(int b) : pred(b ? EQ : LESS), lhs(new Expression(1)), rhs(new Expression(1)) {}

Inequation::Inequation(predicate_t p, const Expression* l, const Expression* r)
    : pred(p), lhs(l->clone()), rhs(r->clone()) {}

Inequation::Inequation(std::vector<int> row) : pred(EQ), lhs(nullptr), rhs(nullptr) {
  // A row without its flag would be misread, one column off.
  size_t width = get_nb_counters() + get_nb_parameters() + 2;
  if (row.size() != width)
    stop(std::cout, "Inequation(vector<int>): bad vector size" + std::to_string(width) + "\n" +
                        std::to_string(row.size()));
  if (row[0] != 0 && row[0] != 1)
    stop(std::cout, "Inequation(vector<int>): bad flag " + std::to_string(row[0]));
  pred = row[0] == 0 ? EQ : GREATER_EQ;
  lhs = new Expression(row);
  rhs = new Expression(0);
}

Inequation::~Inequation() {
  delete lhs;
  delete rhs;
}

Inequation* Inequation::clone() const { return new Inequation(pred, lhs, rhs); }

int Inequation::operator==(const Inequation& other) const {
  return pred == other.pred && *lhs == *other.lhs && *rhs == *other.rhs;
}

int Inequation::has_parameters() const { return lhs->has_parameters() || rhs->has_parameters(); }
int Inequation::has_variables() const { return lhs->has_variables() || rhs->has_variables(); }
int Inequation::has_div() const { return lhs->has_div() || rhs->has_div(); }

std::set<int> Inequation::get_counters() const {
  std::set<int> ranks = lhs->get_counters();
  std::set<int> right = rhs->get_counters();
  ranks.insert(right.begin(), right.end());
  return ranks;
}

std::set<int> Inequation::get_parameters() const {
  std::set<int> ranks = lhs->get_parameters();
  std::set<int> right = rhs->get_parameters();
  ranks.insert(right.begin(), right.end());
  return ranks;
}

std::vector<Expression*> Inequation::get_divs() {
  std::vector<Expression*> divs = lhs->get_divs();
  std::vector<Expression*> right = rhs->get_divs();
  divs.insert(divs.end(), right.begin(), right.end());
  return divs;
}

Inequation* Inequation::parameters_to_parameters(const std::map<int, int>& m) const {
  return adopt(pred, lhs->parameters_to_parameters(m), rhs->parameters_to_parameters(m));
}

Inequation* Inequation::parameters_to_counters(const std::map<int, int>& m) const {
  return adopt(pred, lhs->parameters_to_counters(m), rhs->parameters_to_counters(m));
}

Inequation* Inequation::counters_to_parameters(const std::map<int, int>& m) const {
  return adopt(pred, lhs->counters_to_parameters(m), rhs->counters_to_parameters(m));
}

Inequation* Inequation::counters_to_counters(const std::map<int, int>& m) const {
  return adopt(pred, lhs->counters_to_counters(m), rhs->counters_to_counters(m));
}

Inequation* Inequation::substitute_counters(const std::map<int, Expression*>& m) const {
  return adopt(pred, lhs->substitute_counters(m), rhs->substitute_counters(m));
}

Inequation* Inequation::substitute_parameters(const std::map<int, Expression*>& m) const {
  return adopt(pred, lhs->substitute_parameters(m), rhs->substitute_parameters(m));
}

std::vector<std::vector<int>> Inequation::to_matrix() const {
  std::vector<int> l = lhs->to_vector();
  std::vector<int> r = rhs->to_vector();
  switch (pred) {
    case LESS: return {difference(r, l, -1)};
    case LESS_EQ: return {difference(r, l)};
    case GREATER: return {difference(l, r, -1)};
    case GREATER_EQ: return {difference(l, r)};
    case EQ: return {difference(l, r), difference(r, l)};
  }
  return {};
}

int Inequation::is_trivial_vec(const std::vector<int>& v) {
  for (size_t i = 0; i + 1 < v.size(); i++)
    if (v[i] != 0) return 0;
  return 1;
}

int Inequation::is_true_vec(const std::vector<int>& v) { return is_trivial_vec(v) && v.back() >= 0; }

int Inequation::is_false_vec(const std::vector<int>& v) { return is_trivial_vec(v) && v.back() < 0; }

int Inequation::is_trivial() const {
  for (const std::vector<int>& row : to_matrix())
    if (!is_trivial_vec(row)) return 0;
  return 1;
}

int Inequation::is_true() const {
  if (has_div()) return 0;
  for (const std::vector<int>& row : to_matrix())
    if (!is_true_vec(row)) return 0;
  return 1;
}

int Inequation::is_false() const {
  for (const std::vector<int>& row : to_matrix())
    if (is_false_vec(row)) return 1;
  return 0;
}

int Inequation::is_empty() const { return has_div() ? 0 : is_false(); }

int Inequation::implies(const Inequation* other) const {
  if (has_div() || other->has_div()) return 0;
  if ((pred == EQ) != (other->pred == EQ)) return 0;
  std::vector<int> a = to_matrix().front();
  std::vector<int> b = other->to_matrix().front();
  // Two equalities imply each other only when they are the same equation.
  if (pred == EQ) return a == b;
  for (size_t i = 0; i + 1 < a.size(); i++)
    if (a[i] != b[i]) return 0;
  return a.back() <= b.back();
}

int Inequation::equals(const Inequation* other) const {
  if (has_div() || other->has_div()) return 0;
  if ((pred == EQ) != (other->pred == EQ)) return 0;
  return to_matrix().front() == other->to_matrix().front();
}

Inequation* Inequation::negate() const {
  switch (pred) {
    case LESS: return new Inequation(GREATER_EQ, lhs, rhs);
    case LESS_EQ: return new Inequation(GREATER, lhs, rhs);
    case GREATER: return new Inequation(LESS_EQ, lhs, rhs);
    case GREATER_EQ: return new Inequation(LESS, lhs, rhs);
    case EQ: break;
  }
  std::ostringstream text;
  text << *this;
  stop(std::cout, "Inequation::negate: unhandled predicate\n" + text.str());
}

namespace {

// e, or op(e, k) when k > 1; takes e.
Expression* quotient(operator_t op, Expression* e, int k) {
  if (k == 1) return e;
  Expression divisor(k);
  Expression* q = new Expression(op, e, &divisor);
  delete e;
  return q;
}

}  // namespace

std::vector<Inequation*> Inequation::separate(int counter) const {
  if (counter < 0 || counter >= get_nb_counters())
    stop(std::cout, "Inequation::separate: counter rank out of range: " + std::to_string(counter));
  std::vector<int> row = to_matrix().front();
  int a = row[counter];
  if (a == 0) return {};
  int k = a < 0 ? -a : a;
  row[counter] = 0;
  if (a > 0)
    for (int& entry : row) entry = -entry;
  Expression* x = var(counter);
  std::vector<Inequation*> bounds;
  if (pred == EQ || a > 0)
    bounds.push_back(adopt(GREATER_EQ, x->clone(), quotient(CEIL, new Expression(row), k)));
  if (pred == EQ || a < 0)
    bounds.push_back(adopt(LESS_EQ, x->clone(), quotient(FLOOR, new Expression(row), k)));
  delete x;
  return bounds;
}

namespace {

const std::string eliminate = "Inequation::eliminate_floor_and_ceil: ";

void check_divisor(const Expression* rhs, const char* function) {
  if (!rhs->fd->is_constant() || rhs->fd->val <= 0)
    stop(std::cout, eliminate + "second argument of " + function + " must be a positive constant");
}

}  // namespace

// Over the integers x >= ceil(a/d) is d*x >= a and x <= floor(a/d) is
// d*x <= a; the strict forms first move the bound by one: x > ceil(a/d) is
// d*x >= a + d, and x < floor(a/d) is d*x <= a - d.
void Inequation::eliminate_floor_and_ceil() {
  if (rhs->has_internal_ceil_or_floor())
    stop(std::cout, eliminate + "<[=] internal ceil/floor" + "unhandled");
  int strict;
  operator_t shift;
  if (rhs->is_ceil()) {
    if (pred != GREATER && pred != GREATER_EQ) stop(std::cout, eliminate + "<[=] ceil unhandled");
    strict = pred == GREATER;
    shift = PLUS;
    pred = GREATER_EQ;
  } else if (rhs->is_floor()) {
    if (pred != LESS && pred != LESS_EQ) stop(std::cout, eliminate + ">[=] floor unhandled");
    strict = pred == LESS;
    shift = MINUS;
    pred = LESS_EQ;
  } else {
    return;
  }
  check_divisor(rhs, rhs->is_ceil() ? "ceil" : "floor");
  Expression* scaled = new Expression(TIMES, rhs->fd, lhs);
  Expression* bound = strict ? new Expression(shift, rhs->fg, rhs->fd) : rhs->fg->clone();
  delete lhs;
  delete rhs;
  lhs = scaled;
  rhs = bound;
}

Inequation* Inequation::from_Sage(SgExpression* e) {
  predicate_t pred;
  switch (e->variantT()) {
    case V_SgEqualityOp: pred = EQ; break;
    case V_SgLessThanOp: pred = LESS; break;
    case V_SgGreaterThanOp: pred = GREATER; break;
    case V_SgLessOrEqualOp: pred = LESS_EQ; break;
    case V_SgGreaterOrEqualOp: pred = GREATER_EQ; break;
    default: stop(std::cout, "Inequation::from_Sage: " + e->class_name() + " unhandled");
  }
  SgBinaryOp* comparison = isSgBinaryOp(e);
  return adopt(pred, Expression::from_Sage(comparison->get_lhs_operand()),
               Expression::from_Sage(comparison->get_rhs_operand()));
}

std::set<void*> Inequation::check() {
  try {
    std::set<void*> right = rhs->check();
    std::set<void*> left = lhs->check();
    return union_and_check(right, left);
  } catch (const char*) {
    throw "Inequation::check: interference found";
  }
}

void Inequation::print() const {
  lhs->print();
  std::cerr << " " << plain_symbol(pred) << " ";
  rhs->print();
}

std::ostream& operator<<(std::ostream& sout, const Inequation& ineq) {
  return sout << *ineq.lhs << " " << plain_symbol(ineq.pred) << " " << *ineq.rhs;
}

void Inequation::print_code(std::ostream& sout) const {
  sout << *lhs << " " << (pred == EQ ? "==" : plain_symbol(pred)) << " " << *rhs;
}

void Inequation::print_iscc(std::ostream& sout) const {
  lhs->print_iscc(sout);
  sout << " " << plain_symbol(pred) << " ";
  rhs->print_iscc(sout);
}

namespace {

void print_pavu_term(std::ostream& sout, int c, const char* kind, const std::string& name) {
  if (c < 0) sout << "(";
  if (c != 1) sout << c << "*";
  sout << kind << "(\"" << name << "\")";
  if (c < 0) sout << ")";
  sout << " + ";
}

}  // namespace

void Inequation::print_pavu(std::ostream& sout) const {
  int nbc = get_nb_counters();
  int nbp = get_nb_parameters();
  for (const std::vector<int>& row : to_matrix()) {
    sout << "(";
    for (int i = 0; i < nbc; i++)
      if (row[i] != 0) print_pavu_term(sout, row[i], "var", get_counter_string(i));
    for (int j = 0; j < nbp; j++)
      if (row[nbc + j] != 0) print_pavu_term(sout, row[nbc + j], "par", get_parameter_string(j));
    int constant = row.back();
    if (constant < 0) sout << "(" << constant << ")";
    else sout << constant;
    sout << " >= 0)";
  }
}

namespace {

Inequation* compare(predicate_t pred, const Expression& a, const Expression& b) {
  return new Inequation(pred, &a, &b);
}

}  // namespace

Inequation* operator<(Expression& a, Expression& b) { return compare(LESS, a, b); }
Inequation* operator<(Expression& a, int b) { return compare(LESS, a, Expression(b)); }
Inequation* operator<(int a, Expression& b) { return compare(LESS, Expression(a), b); }
Inequation* operator<=(Expression& a, Expression& b) { return compare(LESS_EQ, a, b); }
Inequation* operator<=(Expression& a, int b) { return compare(LESS_EQ, a, Expression(b)); }
Inequation* operator<=(int a, Expression& b) { return compare(LESS_EQ, Expression(a), b); }
Inequation* operator>(Expression& a, Expression& b) { return compare(GREATER, a, b); }
Inequation* operator>(Expression& a, int b) { return compare(GREATER, a, Expression(b)); }
Inequation* operator>(int a, Expression& b) { return compare(GREATER, Expression(a), b); }
Inequation* operator>=(Expression& a, Expression& b) { return compare(GREATER_EQ, a, b); }
Inequation* operator>=(Expression& a, int b) { return compare(GREATER_EQ, a, Expression(b)); }
Inequation* operator>=(int a, Expression& b) { return compare(GREATER_EQ, Expression(a), b); }
Inequation* operator==(Expression& a, int b) { return compare(EQ, a, Expression(b)); }
Inequation* operator==(int a, Expression& b) { return compare(EQ, Expression(a), b); }

void del(std::list<Inequation*> l) {
  for (Inequation* ineq : l) delete ineq;
}
