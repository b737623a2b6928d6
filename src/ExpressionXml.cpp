// XML forms of expressions and constraints.

#include <iostream>

#include "Expression.h"
#include "Inequation.h"
#include "Stop.h"
#include "Xml.h"
#include "XmlChecks.h"

namespace {

const char* const expression_class = "Expression";

// A leaf of the base class is exactly one of a constant, a counter and a
// parameter, naming a registered rank.
bool is_flag(int f) { return f == 0 || f == 1; }

void check_leaf(const Expression& e) {
  if (!is_flag(e.is_val) || !is_flag(e.is_counter) || !is_flag(e.is_parameter) ||
      e.is_val + e.is_counter + e.is_parameter != 1)
    xml_refuse(expression_class, "a leaf must be exactly one of is_val, is_counter, is_parameter");
  if (e.is_counter) check_counter_rank(expression_class, e.counter_rank);
  if (e.is_parameter) check_parameter_rank(expression_class, e.parameter_rank);
}

// The cache is used as a full row whenever it is up to date.
void check_cache(const Expression& e) {
  if (!e.has_vector) return;
  if (e._nb_counters < 0 || e._nb_parameters < 0 ||
      e.vec.size() != static_cast<size_t>(e._nb_counters) + e._nb_parameters + 1)
    xml_refuse(expression_class, "vec does not hold _nb_counters + _nb_parameters + 1 entries");
}

}  // namespace

void Expression::print_xml(std::ostream& os, std::string tag) const {
  if (is_an_enumeration()) stop(std::cerr, "Expression::print_xml: an enumeration expression has no XML form");
  open_tag(os, tag);
  ::print_xml(os, "is_leaf", is_leaf);
  ::print_xml(os, "is_val", is_val);
  ::print_xml(os, "val", val);
  ::print_xml(os, "is_counter", is_counter);
  ::print_xml(os, "counter_rank", counter_rank);
  ::print_xml(os, "is_parameter", is_parameter);
  ::print_xml(os, "parameter_rank", parameter_rank);
  ::print_xml(os, "op", static_cast<int>(op));
  if (!is_leaf) {
    fg->print_xml(os, "fg");
    fd->print_xml(os, "fd");
  }
  ::print_xml(os, "has_vector", has_vector);
  ::print_xml(os, "vec", vec);
  ::print_xml(os, "_nb_counters", _nb_counters);
  ::print_xml(os, "_nb_parameters", _nb_parameters);
  close_tag(os, tag);
}

Expression::Expression(const Xml& node) {
  init_leaf();
  from_xml(is_leaf, node["is_leaf"]);
  from_xml(is_val, node["is_val"]);
  from_xml(val, node["val"]);
  from_xml(is_counter, node["is_counter"]);
  from_xml(counter_rank, node["counter_rank"]);
  from_xml(is_parameter, node["is_parameter"]);
  from_xml(parameter_rank, node["parameter_rank"]);
  int code = 0;
  from_xml(code, node["op"]);
  if (code < PLUS || code > CEIL) xml_refuse(expression_class, "bad op " + int_to_str(code));
  op = static_cast<operator_t>(code);
  if (!is_leaf) {
    from_xml(fg, node["fg"]);
    check_not_null(expression_class, fg, "fg");
    from_xml(fd, node["fd"]);
    check_not_null(expression_class, fd, "fd");
  } else {
    check_leaf(*this);
  }
  from_xml(has_vector, node["has_vector"]);
  from_xml(vec, node["vec"]);
  from_xml(_nb_counters, node["_nb_counters"]);
  from_xml(_nb_parameters, node["_nb_parameters"]);
  check_cache(*this);
}

void Inequation::print_xml(std::ostream& os, std::string tag) const {
  open_tag(os, tag);
  ::print_xml(os, "pred", static_cast<int>(pred));
  lhs->print_xml(os, "lhs");
  rhs->print_xml(os, "rhs");
  close_tag(os, tag);
}

Inequation::Inequation(const Xml& node) : pred(EQ), lhs(nullptr), rhs(nullptr) {
  int code = 0;
  from_xml(code, node["pred"]);
  if (code < LESS || code > EQ) xml_refuse("Inequation", "bad pred " + int_to_str(code));
  pred = static_cast<predicate_t>(code);
  from_xml(lhs, node["lhs"]);
  check_not_null("Inequation", lhs, "lhs");
  from_xml(rhs, node["rhs"]);
  check_not_null("Inequation", rhs, "rhs");
}
