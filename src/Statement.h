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
class ModularMapping;
class Operation;
class Polyhedron;
class Program;
class SgAssignOp;
class SgExpression;
class Statement;
class Xml;

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
  static int current_input;     // running counter of backend_dpn

  explicit Rhs(std::string value);  // constant leaf
  Rhs(std::string name, int);       // read leaf; its rank comes from fix_ranks or clone
  // Operator node over clones of `operands` (the caller keeps them).
  Rhs(int op_id, std::string op_name, const std::vector<Rhs*>& operands);
  // Read from its XML element, operands included (owned). Stops unless
  // exactly one kind flag is set and an operator has its operands.
  explicit Rhs(const Xml& node);
  ~Rhs();
  Rhs(const Rhs&) = delete;
  Rhs& operator=(const Rhs&) = delete;

  Rhs* clone() const;  // new tree, owned by the caller
  // Numbers the read leaves 0, 1, ... depth first, operands left to right.
  void fix_ranks();
  // Writes the tree as C for statement `s` (whose reads it names).
  void backend(std::ostream* out, const Statement* s) const;
  // The same with the array reads written input0, input1, ... depth first.
  void backend_dpn(std::ostream* out, const Statement* s) const;
  // Number of operator nodes.
  int nb_operators() const;
  // Debug tree on standard output, one node per line after `indent`.
  void print(std::string indent) const;
  void print() const;
  // The element `tag` with one child per field, operands under "successor".
  void print_xml(std::ostream& os, std::string tag) const;

private:
  void number_reads();
  // backend, or backend_dpn when `inputs` is set.
  void write(std::ostream* out, const Statement* s, bool inputs) const;
  void print_operand(std::ostream* out, const Statement* s, bool inputs) const;
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
  // The static control part it stands in, numbered in file order from 0:
  // parts run one after the other, whatever dates their schedules give.
  int part = 0;
  // "<input file>:<line>" of the assignment, for the messages about the
  // statement; empty for a statement read from XML or built piece by piece.
  std::string location;

  Statement() = default;
  explicit Statement(int rank);
  // The statement of an assignment nested in the loops `counters` (names,
  // outermost first). It takes over `domain`.
  Statement(int rank, const std::list<std::string>& counters, Polyhedron* domain,
            SgAssignOp* assignment);
  // A plain statement read from its XML element; owns what it reads. Stops
  // on an unregistered counter, a missing domain or write function, or a
  // read without function.
  explicit Statement(const Xml& node);
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

  // ---- building piece by piece (the replaced parts are freed) ----
  // Appends the rank of the registered counter `name`.
  void add_counter(std::string name);
  // A clone of d.
  void set_iteration_domain(Polyhedron& d);
  // Writes array `name` at a clone of f, whose counters become the
  // statement's; registers the array unless it is "schedule".
  void set_lhs(std::string name, IndexFunction& f);
  // Appends a read of array `name` at a clone of f, whose counters become
  // the statement's; registers the array ("schedule" too; the empty name of
  // a counter read names no array).
  void add_rhs_reference(std::string name, IndexFunction& f);

  // The statement's own function of the k-th read (from 0) of `name`.
  IndexFunction* get_read(std::string name, int k);
  // Operator nodes of the tree; 0 without a tree.
  int nb_operators();

  // ---- instances (new operations owned by the caller) ----
  // The instance at the statement's own counters: a dense point of one entry
  // per true counter, more when a surrounding rank lies beyond them.
  Operation* instance();
  // A full instance in fresh counters "new_counter_<rank>_<k>" (the counters
  // themselves for k = 0), with the map old rank -> new rank. The
  // operation's mapping holds new counter leaves that the caller frees.
  std::pair<Operation*, std::map<int, int>> instance(int k);
  // (new domain, new instance) with every surrounding counter turned into a
  // fresh parameter "counter_<rank>_number_<k>"; the operation's mapping
  // holds the substitution, whose expressions the caller frees.
  std::pair<Polyhedron*, Operation*> parametrized_instance();

  // ---- rewriting ----
  // The write and the reads of `array` go through the mapping's storage
  // function (the mapping stays the caller's).
  void apply(std::string array, ModularMapping* m);
  // Renames the written and read arrays found in m.
  void substitute_arrays(std::map<std::string, std::string> m);
  // New statement with the counters of m renamed everywhere.
  Statement* counters_to_counters(std::map<int, int> m);
  // The common outer counters of statements s1 and s2 of p.
  static std::vector<int> common_nest(int s1, int s2, Program* p);
  // New program of a clone of this statement, ranked 0.
  Program* to_program();

  // ---- debug dumps ----
  void print() const;           // standard error, the domain by its own print()
  void print_matrices() const;  // standard output
  // "output = " and the tree with numbered inputs; no line end.
  void print_dpn(std::ostream& out) const;
  // The element `tag` with one child per field; a null tree is written as
  // an element without content. A statement without domain or write
  // function (one still being built) stops the run: it could not be read
  // back.
  void print_xml(std::ostream& os, std::string tag) const;

private:
  bool is_surrounding_counter(const std::string& name) const;
  Read read_of(SgExpression* reference) const;
};

std::ostream& operator<<(std::ostream& out, const Statement& s);

// Deletes every statement; the vector stays the caller's.
void del(std::vector<Statement*> v);

#endif
