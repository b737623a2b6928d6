#include "Expression.h"

#include <algorithm>
#include <iostream>
#include <sstream>

#include "ExpressionNode.h"
#include "Stop.h"

Expression* make_node(operator_t op, Expression* l, Expression* r) {
  Expression* node = new Expression();
  node->is_leaf = 0;
  node->is_val = 0;
  node->op = op;
  node->fg = l;
  node->fd = r;
  return node;
}

Expression* make_parameter_leaf(int rank) {
  Expression* leaf = new Expression();
  leaf->is_val = 0;
  leaf->is_parameter = 1;
  leaf->parameter_rank = rank;
  return leaf;
}

std::string expression_text(const Expression& e) {
  std::ostringstream out;
  out << e;
  return out.str();
}

void Expression::init_leaf() {
  is_leaf = 1;
  is_val = 0;
  val = 0;
  is_counter = 0;
  counter_rank = 0;
  is_parameter = 0;
  parameter_rank = 0;
  op = PLUS;
  fg = nullptr;
  fd = nullptr;
  has_vector = 0;
  _nb_counters = 0;
  _nb_parameters = 0;
}

Expression::Expression() : Expression(0) {}

Expression::Expression(int v) {
  init_leaf();
  is_val = 1;
  val = v;
}

Expression::Expression(int n, int d) {
  init_leaf();
  is_leaf = 0;
  op = DIV;
  fg = new Expression(n);
  fd = new Expression(d);
}

Expression::Expression(std::string name) {
  init_leaf();
  if (is_a_counter(name)) {
    is_counter = 1;
    counter_rank = get_counter_rank(name);
  } else {
    create_parameter_rank(name);
    is_parameter = 1;
    parameter_rank = get_parameter_rank(name);
  }
}

Expression::Expression(operator_t o, const Expression* l, const Expression* r) {
  init_leaf();
  is_leaf = 0;
  op = o;
  fg = l->clone();
  fd = r->clone();
}

Expression::Expression(const Expression& e)
    : is_leaf(e.is_leaf),
      is_val(e.is_val),
      val(e.val),
      is_counter(e.is_counter),
      counter_rank(e.counter_rank),
      is_parameter(e.is_parameter),
      parameter_rank(e.parameter_rank),
      op(e.op),
      fg(e.fg ? e.fg->clone() : nullptr),
      fd(e.fd ? e.fd->clone() : nullptr),
      has_vector(e.has_vector),
      vec(e.vec),
      _nb_counters(e._nb_counters),
      _nb_parameters(e._nb_parameters) {}

Expression::~Expression() { clear_operands(); }

void Expression::clear_operands() {
  delete fg;
  delete fd;
  fg = nullptr;
  fd = nullptr;
}

Expression& Expression::operator=(const Expression& src) {
  // The clone comes first: src may be a part of the operands freed below.
  Expression* copy = src.clone();
  clear_operands();
  shallow_copy(copy);
  delete copy;
  return *this;
}

void Expression::shallow_copy(Expression* src) {
  is_leaf = src->is_leaf;
  is_val = src->is_val;
  val = src->val;
  is_counter = src->is_counter;
  counter_rank = src->counter_rank;
  is_parameter = src->is_parameter;
  parameter_rank = src->parameter_rank;
  op = src->op;
  fg = src->fg;
  fd = src->fd;
  has_vector = src->has_vector;
  vec = src->vec;
  _nb_counters = src->_nb_counters;
  _nb_parameters = src->_nb_parameters;
  src->fg = nullptr;
  src->fd = nullptr;
}

std::string Expression::get_class() const { return "Expression"; }

int Expression::operator==(const Expression& e) const {
  if (is_leaf && e.is_leaf) {
    if (is_val && e.is_val) return val == e.val;
    if (is_counter && e.is_counter) return counter_rank == e.counter_rank;
    if (is_parameter && e.is_parameter) return parameter_rank == e.parameter_rank;
    return 0;
  }
  if (is_leaf || e.is_leaf) return 0;
  return op == e.op && *fg == *e.fg && *fd == *e.fd;
}

int Expression::operator!=(const Expression& e) const { return !(*this == e); }

int Expression::is_an_enumeration() const { return 0; }
int Expression::is_a_polynomial() const { return 0; }
int Expression::is_a_multivariate_polynomial() const { return 0; }
int Expression::is_a_periodic_number() const { return 0; }

Expression* Expression::clone() const { return new Expression(*this); }

Expression* Expression::from_counter_rank(int r) {
  Expression* leaf = new Expression();
  leaf->is_val = 0;
  leaf->is_counter = 1;
  leaf->counter_rank = r;
  return leaf;
}

std::set<int> Expression::get_counters(const std::vector<Expression*>& l) {
  std::set<int> counters;
  for (const Expression* e : l) {
    std::set<int> more = e->get_counters();
    counters.insert(more.begin(), more.end());
  }
  return counters;
}

int Expression::is_constant() const { return is_leaf && is_val; }
int Expression::is_value(int v) const { return is_constant() && val == v; }
int Expression::is__counter(int r) const { return is_leaf && is_counter && counter_rank == r; }
int Expression::is__parameter(int r) const {
  return is_leaf && is_parameter && parameter_rank == r;
}
int Expression::is_a_parameter() const { return is_leaf && is_parameter; }
int Expression::is_op(operator_t o) const { return !is_leaf && op == o; }
int Expression::is_neg() const { return is_op(TIMES) && fg->is_value(-1); }

int Expression::is_constant_fraction() const {
  return is_op(DIV) && fg->is_constant() && fd->is_constant();
}

int Expression::is_positive_constant() const { return is_constant() && val >= 0; }

int Expression::is_positive() const {
  for (int entry : to_vector())
    if (entry < 0) return 0;
  return 1;
}

int Expression::is_floor() const { return is_op(FLOOR); }
int Expression::is_ceil() const { return is_op(CEIL); }

int Expression::has_ceil_or_floor() const {
  if (is_leaf) return 0;
  return op == FLOOR || op == CEIL || fg->has_ceil_or_floor() || fd->has_ceil_or_floor();
}

int Expression::has_internal_ceil_or_floor() const {
  if (is_leaf) return 0;
  return fg->has_ceil_or_floor() || fd->has_ceil_or_floor();
}

int Expression::has_div() const {
  if (is_leaf) return 0;
  return op == DIV || fg->has_div() || fd->has_div();
}

int Expression::has_parameters() const {
  if (is_leaf) return is_parameter;
  return fg->has_parameters() || fd->has_parameters();
}

int Expression::has_variables() const {
  if (is_leaf) return is_counter;
  return fg->has_variables() || fd->has_variables();
}

int Expression::has_up_to_date_vector() const {
  return has_vector && _nb_counters == get_nb_counters() &&
         _nb_parameters == get_nb_parameters();
}

int Expression::depth() const {
  if (is_leaf) return 0;
  return 1 + std::max(fg->depth(), fd->depth());
}

int Expression::nb_power_2() const {
  if (is_leaf) return is_val && is_power_of_2(val);
  return fg->nb_power_2() + fd->nb_power_2();
}

int is_power_of_2(int n) {
  for (int power = 1; power <= 8192; power *= 2)
    if (n == power) return 1;
  return 0;
}

namespace {

Expression& arithmetic(operator_t op, const Expression& a, const Expression& b) {
  return *new Expression(op, &a, &b);
}

}  // namespace

Expression& operator+(const Expression& a, const Expression& b) { return arithmetic(PLUS, a, b); }
Expression& operator+(const Expression& a, int b) { return arithmetic(PLUS, a, Expression(b)); }
Expression& operator+(int a, const Expression& b) { return arithmetic(PLUS, Expression(a), b); }
Expression& operator-(const Expression& a, const Expression& b) { return arithmetic(MINUS, a, b); }
Expression& operator-(const Expression& a, int b) { return arithmetic(MINUS, a, Expression(b)); }
Expression& operator-(int a, const Expression& b) { return arithmetic(MINUS, Expression(a), b); }
Expression& operator*(const Expression& a, const Expression& b) { return arithmetic(TIMES, a, b); }
Expression& operator*(const Expression& a, int b) { return arithmetic(TIMES, a, Expression(b)); }
Expression& operator*(int a, const Expression& b) { return arithmetic(TIMES, Expression(a), b); }
Expression& operator/(const Expression& a, const Expression& b) { return arithmetic(DIV, a, b); }
Expression& operator/(const Expression& a, int b) { return arithmetic(DIV, a, Expression(b)); }
Expression& operator/(int a, const Expression& b) { return arithmetic(DIV, Expression(a), b); }
Expression& operator%(const Expression& a, const Expression& b) { return arithmetic(MOD, a, b); }
Expression& operator%(const Expression& a, int b) { return arithmetic(MOD, a, Expression(b)); }
Expression& operator%(int a, const Expression& b) { return arithmetic(MOD, Expression(a), b); }

Expression* v(int n) { return new Expression(n); }
Expression* val(int n) { return new Expression(n); }
Expression* s(std::string name) { return new Expression(name); }

Expression* var(std::string name) {
  declare_variable(name);
  return s(name);
}

Expression* par(std::string name) {
  declare_parameter(name);
  return make_parameter_leaf(get_parameter_rank(name));
}

Expression* var(int r) {
  Expression* leaf = s(get_counter_string(r));
  leaf->counter_rank = r;
  return leaf;
}

std::vector<Expression*> clone_ve(const std::vector<Expression*>& l) {
  std::vector<Expression*> copies;
  for (const Expression* e : l) copies.push_back(e->clone());
  return copies;
}

std::map<int, Expression*> union_map(std::map<int, Expression*> a,
                                     std::map<int, Expression*> b) {
  for (const auto& entry : b) {
    if (a.count(entry.first)) stop(std::cerr, "Expression::union_map: expect disjoint maps");
    a[entry.first] = entry.second;
  }
  return a;
}

void del(std::map<int, Expression*> m) {
  for (auto& entry : m) delete entry.second;
}

void del(std::vector<Expression*> l) {
  for (Expression* e : l) delete e;
}

void del(std::map<std::set<int>, Expression*> m) {
  for (auto& entry : m) delete entry.second;
}
