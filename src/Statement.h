#ifndef TARVEX_STATEMENT_H
#define TARVEX_STATEMENT_H

// One assignment of the static control part: its iteration domain, the array
// element it writes, the elements it reads, and the tree of its right-hand
// side (Rhs), which the back end prints back as C inside a statement macro.
//
// Ownership: a statement owns its domain, its access functions and its tree;
// clone() and substitute_counters_ref() return new statements owned by the
// caller.

#include <list>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class Expression;
class IndexFunction;
class Polyhedron;
class SgAssignOp;
class SgExpression;
class Statement;

using Read = std::pair<std::string, IndexFunction*>;

// Tree of a right-hand side. Exactly one of is_value, is_an_array, is_op is 1.
// A read leaf names an entry of its statement's read list by position; a
// read whose name is empty is a loop counter used as a value: its function
// holds that counter's expression as its one entry.
class Rhs {
public:
  int is_value = 0;
  std::string value;  // a constant's C text
  int is_an_array = 0;
  int array_rank = 0;  // position of the read in the statement's read list
  std::string array_id;
  int is_op = 0;
  int op_id = 0;        // the front end's node kind of the operator
  std::string op_name;  // callee of a call, type of a cast, else the class name
  std::vector<Rhs*> successor;  // operands in order, owned
  static int current_rank;      // running counter of fix_ranks

  explicit Rhs(std::string value);  // constant leaf
  Rhs(std::string name, int);       // read leaf; its rank comes from fix_ranks or clone
  // Operator node over clones of `operands` (the caller keeps them).
  Rhs(int op_id, std::string op_name, const std::vector<Rhs*>& operands);
  ~Rhs();
  Rhs(const Rhs&) = delete;
  Rhs& operator=(const Rhs&) = delete;

  Rhs* clone() const;  // new tree, owned by the caller
  // Numbers the read leaves 0, 1, ... depth first, operands left to right.
  void fix_ranks();
  // Writes the tree as C for statement `s` (whose reads it names).
  void backend(std::ostream* out, const Statement* s) const;

private:
  void number_reads();
  void print_operand(std::ostream* out, const Statement* s) const;
};

// Copy of the pair at position `rank` of `reads` (the function is shared).
Read nth(int rank, const std::list<Read>& reads);

class Statement {
public:
  int stmt_rank = 0;
  std::vector<int> surrounding_counters;  // enclosing loop counters, outermost first
  Polyhedron* iteration_domain = nullptr;  // owned
  std::string lhs_id;
  IndexFunction* lhs_index = nullptr;  // owned; no entry for a scalar
  std::list<Read> rhs_index;           // functions owned, left-to-right order
  Rhs* rhs = nullptr;                  // owned, may be null

  Statement() = default;
  explicit Statement(int rank);
  // The statement of an assignment nested in the loops `counters` (names,
  // outermost first). It takes over `domain`.
  Statement(int rank, const std::list<std::string>& counters, Polyhedron* domain,
            SgAssignOp* assignment);
  virtual ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  virtual int is_sa_statement() const;
  virtual Statement* clone() const;
  // The C text of the assignment, without blank or ";".
  virtual void print(std::ostream& out) const;

  // A clone whose write and read functions have the counters of `m`
  // substituted (the map stays the caller's); domain and counters unchanged.
  Statement* substitute_counters_ref(const std::map<int, Expression*>& m) const;
  // "D<rank> := <domain named S<rank>>;" and a line end.
  void print_iscc(std::ostream& out) const;

  // The tree of expression `e` (new, owned by the caller) and its reads, in
  // left-to-right order (nodes of `e` itself, never freed).
  std::pair<Rhs*, std::list<SgExpression*>> collect_references(SgExpression* e) const;

private:
  bool is_surrounding_counter(const std::string& name) const;
  Read read_of(SgExpression* reference) const;
};

std::ostream& operator<<(std::ostream& out, const Statement& s);

#endif
