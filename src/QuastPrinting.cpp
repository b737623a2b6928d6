// Text forms of a quast (indented tree, debug tree, C-like code, one-line
// conditional) and listings of flattened maps. All are diagnostics.

#include <iostream>

#include "IndexFunction.h"
#include "Inequation.h"
#include "Operation.h"
#include "Polyhedron.h"
#include "Quast.h"

namespace {

// A node's test as the tree, code and one-line forms write it.
void write_test(std::ostream& os, Quast* q) {
  if (q->has_extended_condition)
    Polyhedron::print_code(os, q->extended_condition);
  else
    os << *q->condition;
}

}  // namespace

// ---------------------------------------------------------------------------
// Trees

void Quast::print_indent(std::ostream& os, std::string indent) {
  if (is_empty) {
    os << indent << "_|_";
    if (!bottom_value.empty()) os << " (" << bottom_value << ")";
    os << std::endl;
  } else if (is_leaf) {
    os << indent;
    if (is_tagged) os << "S" << stmt;
    os << "(";
    point->print_code(os);
    os << "):" << read_rank;
    if (is_unbounded) os << " (unbounded)";
    os << std::endl;
  } else {
    os << indent << "if ";
    write_test(os, this);
    os << std::endl << indent << (is_then_dag ? "then (dag)" : "then") << std::endl;
    then_quast->print_indent(os, indent + "  ");
    os << indent << (is_else_dag ? "else (dag)" : "else") << std::endl;
    else_quast->print_indent(os, indent + "  ");
    os << indent << "endif" << std::endl;
  }
}

std::ostream& operator<<(std::ostream& os, Quast& q) {
  q.print_indent(os, "");
  return os;
}

void Quast::print() { print_indent(""); }

// Standard output is flushed before each write on standard error, so that
// both streams interleave in order on one terminal.
void Quast::print_indent(std::string indent) {
  if (is_empty) {
    std::cout << indent << "_|_" << std::endl;
  } else if (is_leaf) {
    std::cout << indent;
    if (is_tagged) std::cout << "<S" << stmt << ",";
    std::cout.flush();
    point->print();
    if (is_tagged) std::cout << ">" << std::endl;
  } else {
    std::cout << indent << "if ";
    if (has_extended_condition) {
      Polyhedron::print_code(std::cout, extended_condition);
    } else {
      std::cout.flush();
      condition->print();
    }
    std::cout << std::endl << indent << "then" << std::endl;
    then_quast->print_indent(indent + "  ");
    std::cout << indent << "else" << std::endl;
    else_quast->print_indent(indent + "  ");
    std::cout << indent << "endif" << std::endl;
  }
}

void Quast::print_code(std::ostream& os) { print_code(os, ""); }

void Quast::print_code(std::ostream& os, std::string indent) {
  if (is_empty) {
    os << indent << "finished = true;" << std::endl;
  } else if (is_leaf) {
    os << indent;
    if (is_tagged) os << "S" << stmt << "(";
    point->print_code(os);
    if (is_tagged) os << ");";
    os << std::endl;
  } else {
    os << indent << "if(";
    write_test(os, this);
    os << ")" << std::endl << indent << "  {" << std::endl;
    then_quast->print_code(os, indent + "    ");
    os << indent << "  }" << std::endl << indent << "else" << std::endl << indent << "  {" << std::endl;
    else_quast->print_code(os, indent + "    ");
    os << indent << "  }" << std::endl;
  }
}

void Quast::print_flat_code(std::ostream& os) {
  if (is_empty) {
    os << bottom_value;
  } else if (is_leaf) {
    if (is_tagged) os << "S" << stmt;
    os << *point;
  } else {
    os << "(";
    write_test(os, this);
    os << "?";
    then_quast->print_flat_code(os);
    os << ":";
    else_quast->print_flat_code(os);
    os << ")";
  }
}

std::ostream& operator<<(std::ostream& os, std::vector<Quast*> v) {
  for (size_t i = 0; i < v.size(); i++) os << "Depth: " << i << std::endl << *v[i] << std::endl;
  return os;
}

// ---------------------------------------------------------------------------
// Flattened maps

void Quast::print_flattened(std::map<Polyhedron*, Operation*> m) {
  for (auto& piece : m) {
    piece.first->print();
    piece.second->print();
    std::cout << std::endl << std::endl;
  }
}

namespace {

template <class Value>
std::ostream& list_pieces(std::ostream& os, const std::map<Polyhedron*, Value*>& m) {
  for (auto& piece : m) os << *piece.first << *piece.second << std::endl << std::endl;
  return os;
}

template <class Map>
std::ostream& list_maps(std::ostream& os, const std::vector<Map>& v) {
  for (const Map& m : v) os << m << std::endl;
  return os;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, std::map<Polyhedron*, Operation*> m) { return list_pieces(os, m); }

std::ostream& operator<<(std::ostream& os, std::map<Polyhedron*, IndexFunction*> m) { return list_pieces(os, m); }

std::ostream& operator<<(std::ostream& os, std::vector<std::map<Polyhedron*, Operation*>> v) {
  return list_maps(os, v);
}

std::ostream& operator<<(std::ostream& os, std::vector<std::map<Polyhedron*, IndexFunction*>> v) {
  return list_maps(os, v);
}
