#ifndef TARVEX_DOMAIN_H
#define TARVEX_DOMAIN_H

// A union of single polyhedra standing where a Polyhedron is expected (the
// tiled iteration domain of a statement). The ten virtual operations work on
// the union; the inherited constraint list stays empty, so the non-virtual
// operations of Polyhedron see a Domain as the universe: callers tell the two
// apart with is_domain().
//
// Ownership: a Domain owns copies of its members and deletes them.

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "Polyhedron.h"

class Domain : public Polyhedron {
 public:
  std::vector<Polyhedron*> domain;  // the members, owned, in order

  // The empty union.
  Domain();
  // Copies (slot 0) of the members of v; the caller keeps v's polyhedra.
  explicit Domain(const std::vector<Polyhedron*>& v);
  // The union of an XML element written by Polyhedron::print_xml, adopting
  // the members it reads.
  explicit Domain(const Xml& node);
  ~Domain() override;

  // Appends a copy (slot 0) of p.
  void add_domain(Polyhedron* p);

  // A new Domain over copies of the members, owned by the caller.
  Polyhedron* clone() override;
  // Each member appends its own copy.
  void add_constraint(Inequation* c) override;
  void add_constraints(Polyhedron* q) override;
  // Unions over the members, which must be single polyhedra.
  std::set<int> get_counters() override;
  std::set<int> get_parameters() override;
  int is_single_polyhedron() override;
  int is_domain() override;
  // The union form on standard output.
  void print() override;
  // Member boxes separated by "U" lines; "(empty domain)" for no member.
  void print(std::ostream& os) override;
  // One iscc set: every member under `name` and the union's counter tuple.
  void print_iscc(std::string name, std::ostream& os) override;
  // The same over the given tuple and parameters, which hold the members'
  // own (a member without constraints is printed without " : ").
  void print_iscc(std::string name, const std::set<int>& counters, const std::set<int>& parameters,
                  std::ostream& os);

  using Polyhedron::print;
  using Polyhedron::print_iscc;
};

#endif
