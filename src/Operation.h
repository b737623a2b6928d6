#ifndef TARVEX_OPERATION_H
#define TARVEX_OPERATION_H

// One execution of a statement: the statement number, the counters of the
// loops around it and the point, that is the values of those counters as
// affine expressions of parameters or other counters. A full operation also
// carries the statement's domain and accesses; a tagged one a number. The
// bottom operation stands for "no instance".
//
// The point is dense: entry c is the value of the counter of rank c, so it
// must cover every surrounding rank; the members that read an entry stop the
// run when it does not.
//
// Ownership: an operation owns its point and, when full, its domain, its
// write function and its read functions. It never frees the expressions of
// `mapping`: whoever fills it owns them, and clone() copies the pointers.
// Every operation returning an Operation*, an IndexFunction* or polyhedra
// returns new objects owned by the caller.

#include <list>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class Expression;
class IndexFunction;
class Polyhedron;
class Schedule;

class Operation {
 public:
  int is_bottom = 0;
  int is_parametrized = 0;  // the counters were turned into parameters
  std::map<int, Expression*> mapping;  // a counter renaming; never freed here
  int stmt = 0;
  std::vector<int> surrounding_counters;  // outermost first
  IndexFunction* point = nullptr;         // owned, dense
  int is_full_operation = 0;              // the four access fields are set
  Polyhedron* iteration_domain = nullptr;  // owned when full
  std::string lhs_id;
  IndexFunction* lhs_index = nullptr;  // owned when full
  std::list<std::pair<std::string, IndexFunction*>> rhs_index;  // functions owned when full
  int has_tag = 0;
  int tag = 0;

  // The bottom operation.
  Operation();
  // Statement `stmt` at a clone of `point` (the caller keeps it).
  Operation(int stmt, std::vector<int> counters, IndexFunction* point);
  Operation(int stmt, std::vector<int> counters, IndexFunction* point, int tag);
  ~Operation();
  // A member-wise copy would free the point twice: copies go through clone().
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  Operation* clone();
  // The same statement, counters and tag at the point rewritten by the
  // named IndexFunction operation; no access fields, empty mapping, not
  // parametrized. The maps' expressions stay the caller's.
  Operation* substitute_counters(std::map<int, Expression*> m);
  Operation* parameters_to_counters(std::map<int, int> m);
  Operation* counters_to_parameters(std::map<int, int> m);

  // Pieces whose union is where this instance runs before `other` in
  // textual order: one per common outer counter, then the piece of the
  // statement order (false when this statement does not come first).
  std::list<Polyhedron*> operator<(Operation& other);
  // Pieces whose union is where o1 runs before o2 under the schedules,
  // schedules[s] being that of statement s; before_no_simplification keeps
  // the empty and covered pieces.
  static std::vector<Polyhedron*> before(std::vector<Schedule*> schedules, Operation* o1,
                                         Operation* o2);
  static std::vector<Polyhedron*> before_no_simplification(std::vector<Schedule*> schedules,
                                                           Operation* o1, Operation* o2);
  // The point restricted to the surrounding counters, in their order.
  IndexFunction* filtered_point();

  void check();
  // "< S<stmt>," and ">" on standard output around the point's dump, which
  // goes to standard error; "_|_" for the bottom. No line end.
  void print();
};

// "S<stmt>,[e]..." then, when full, the accesses and the domain, and when
// tagged "tag: <tag>" and a line end; "_|_" for the bottom.
std::ostream& operator<<(std::ostream& os, Operation& op);

#endif
