// XML forms of index functions, schedules and modular storage mappings.

#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "ModularMapping.h"
#include "Schedule.h"
#include "Xml.h"
#include "XmlChecks.h"

void IndexFunction::print_xml(std::ostream& os, std::string tag) {
  open_tag(os, tag);
  ::print_xml(os, "surrounding_counters", surrounding_counters);
  ::print_xml(os, "index_mapping", index_mapping);
  close_tag(os, tag);
}

IndexFunction::IndexFunction(const Xml& node) {
  from_xml(surrounding_counters, node["surrounding_counters"]);
  for (int c : surrounding_counters) check_counter_rank("IndexFunction", c);
  from_xml(index_mapping, node["index_mapping"]);
  for (Expression* e : index_mapping) check_not_null("IndexFunction", e, "index_mapping");
}

void Schedule::print_xml(std::ostream& os, std::string tag) {
  open_tag(os, tag);
  ::print_xml(os, "schedule", schedule);
  close_tag(os, tag);
}

Schedule::Schedule(const Xml& node) : schedule(nullptr) {
  from_xml(schedule, node["schedule"]);
  check_not_null("Schedule", schedule, "schedule");
}

void ModularMapping::print_xml(std::ostream& os, std::string tag) {
  // What the reader would refuse is not written.
  check_moduli();
  open_tag(os, tag);
  ::print_xml(os, "A", A);
  ::print_xml(os, "has_modulo", has_modulo);
  ::print_xml(os, "b", b);
  ::print_xml(os, "has_modulo_expr", has_modulo_expr);
  ::print_xml(os, "b_expr", b_expr);
  close_tag(os, tag);
}

namespace {

// The moduli of one kind: one per row of A under its flag, else none. The
// symbolic moduli may also stay beside integer ones, one per row, as
// upper_bound leaves them.
void check_modulus_count(size_t count, int flag, size_t rows, const std::string& tag, bool may_stay) {
  bool kept = may_stay && count == rows;
  if (count != (flag ? rows : 0) && !kept)
    xml_refuse("ModularMapping", tag + " must hold one entry per row of A under its flag, else none");
}

}  // namespace

ModularMapping::ModularMapping(const Xml& node) {
  from_xml(A, node["A"]);
  from_xml(has_modulo, node["has_modulo"]);
  from_xml(b, node["b"]);
  from_xml(has_modulo_expr, node["has_modulo_expr"]);
  from_xml(b_expr, node["b_expr"]);
  for (const std::vector<int>& row : A)
    if (row.size() != A[0].size()) xml_refuse("ModularMapping", "A is not rectangular");
  if (has_modulo && has_modulo_expr) xml_refuse("ModularMapping", "both has_modulo and has_modulo_expr");
  check_modulus_count(b.size(), has_modulo, A.size(), "b", false);
  check_modulus_count(b_expr.size(), has_modulo_expr, A.size(), "b_expr", has_modulo);
  for (Expression* e : b_expr) check_not_null("ModularMapping", e, "b_expr");
}
