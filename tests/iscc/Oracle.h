// The oracle of the iscc tests: statements described by their own affine
// constraints, printed as the back end's script, and compared point by
// point with what the generated loop nest executes.
#ifndef ISCC_TESTS_ORACLE_H
#define ISCC_TESTS_ORACLE_H

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace oracle {

// A quasi-affine expression tree, shared and immutable.
struct Node;
using Ex = std::shared_ptr<const Node>;
struct Node {
  enum Kind { Num, Counter, Param, Plus, Minus, Times, Mod, Floor, Ceil, Max };
  Kind kind;
  long value;
  std::string name;
  Ex left, right;
};

Ex num(long v);
Ex ctr(const std::string& name);
Ex par(const std::string& name);
Ex operator+(Ex a, Ex b);
Ex operator-(Ex a, Ex b);
Ex operator*(Ex a, Ex b);
Ex operator%(Ex a, Ex b);
Ex floor_of(Ex a, long k);
Ex ceil_of(Ex a, long k);
Ex max_of(Ex a, Ex b);

// lhs op rhs, with op one of "<", "<=", ">", ">=", "=".
struct Constraint {
  Ex lhs;
  std::string op;
  Ex rhs;
};

// lower <= value <= upper for every instance to run, printed as the
// back end's "bounds" line: the value over the statement's counters, its
// bounds over the parameters, in +, - and * only (the line is C); with
// `in_else`, a bound of the else schedule's nests only.
struct Bound {
  Ex lower, value, upper;
  bool in_else = false;
};

using Valuation = std::map<std::string, long>;
using Point = std::vector<long>;

struct Statement {
  std::vector<std::string> counters;  // the tuple, in registry order
  // Pieces of the domain. One piece prints as a polyhedron, several as a
  // union, none as the empty union.
  std::vector<std::vector<Constraint>> pieces;
  std::vector<Ex> date;
  std::vector<std::pair<long, long>> box;  // per counter, inclusive
  // Pieces of the instances to run apart (the full tiles), printed in the
  // lines and the codegen clause the back end writes; none: nothing runs
  // apart.
  std::vector<std::vector<Constraint>> full = {};
  // Pieces of a superset of the domain, printed in the lines and the
  // codegen clause of an else schedule; none: no else clause.
  std::vector<std::vector<Constraint>> superset = {};
  // Pieces of a box holding the superset, printed in the lines and the
  // codegen clause of a box form after the else schedule; none: no box
  // form.
  std::vector<std::vector<Constraint>> box_form = {};
  // Bounds whose "bounds" lines clamp the loops of the nests.
  std::vector<Bound> bounds = {};
};

struct Script {
  std::vector<std::string> params;  // in registry order
  std::vector<Statement> statements;
  bool parenthesised_counters = false;
};

// The script in the exact text the back end writes.
std::string print_script(const Script& s);

// The first difference between the nest's run and the brute-force
// enumeration over `grid`, or "" when there is none. Compiles the nest with
// `cxx` in a temporary folder that it removes.
std::string check_nest(const Script& s, const std::string& nest,
                       const std::vector<Valuation>& grid, const std::string& cxx);

// Every valuation of `params` with each value taken from `values`.
std::vector<Valuation> product_grid(const std::vector<std::string>& params,
                                    const std::vector<long>& values);

}  // namespace oracle

#endif
