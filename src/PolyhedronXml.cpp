// XML forms of polyhedra and of their unions.

#include <iostream>

#include "Domain.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Xml.h"
#include "XmlChecks.h"

namespace {

// The six fields of a single polyhedron, read into `p`, which owns the
// constraints read.
void read_fields(Polyhedron& p, const Xml& node, const std::string& class_name) {
  from_xml(p.constraints, node["constraints"]);
  for (Inequation* c : p.constraints) check_not_null(class_name, c, "constraints");
  from_xml(p.has_matrix, node["has_matrix"]);
  from_xml(p.matrix, node["matrix"]);
  from_xml(p.nb_counters, node["nb_counters"]);
  from_xml(p.nb_parameters, node["nb_parameters"]);
  from_xml(p.has_divs, node["has_divs"]);
  if (!p.has_matrix) return;
  if (p.nb_counters < 0 || p.nb_parameters < 0) xml_refuse(class_name, "negative count of the matrix");
  for (const std::vector<int>& row : p.matrix)
    if (row.size() != static_cast<size_t>(p.nb_counters) + p.nb_parameters + 2)
      xml_refuse(class_name, "a matrix row does not hold nb_counters + nb_parameters + 2 entries");
}

int is_union(const Xml& node) { return node.son.count("domain") != 0; }

}  // namespace

void Polyhedron::print_xml(std::ostream& os, std::string tag) {
  open_tag(os, tag);
  ::print_xml(os, "constraints", constraints);
  ::print_xml(os, "has_matrix", has_matrix);
  ::print_xml(os, "matrix", matrix);
  ::print_xml(os, "nb_counters", nb_counters);
  ::print_xml(os, "nb_parameters", nb_parameters);
  ::print_xml(os, "has_divs", has_divs);
  if (is_domain()) ::print_xml(os, "domain", static_cast<Domain*>(this)->domain);
  close_tag(os, tag);
}

Polyhedron::Polyhedron(const Xml& node) : Polyhedron() {
  if (is_union(node)) xml_refuse("Polyhedron", "a union must be read as a Domain");
  read_fields(*this, node, "Polyhedron");
}

Domain::Domain(const Xml& node) {
  read_fields(*this, node, "Domain");
  from_xml(domain, node["domain"]);
  for (Polyhedron* p : domain) check_not_null("Domain", p, "domain");
}

void from_xml(Polyhedron*& p, const Xml& node) {
  if (is_empty_element(node))
    p = nullptr;
  else if (is_union(node))
    p = new Domain(node);
  else
    p = new Polyhedron(node);
}
