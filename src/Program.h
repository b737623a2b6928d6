#ifndef TARVEX_PROGRAM_H
#define TARVEX_PROGRAM_H

// The polyhedral model of the static control part: its statements in
// textual order (statement i has rank i whenever the program reaches code
// generation), the registry counts when it was made, and the C variable
// declarations of the whole file as text, with the names each declares.
//
// Ownership: a program owns its statements.

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Domain;
class InstanceGuard;
class ModularMapping;
class Polyhedron;
class Schedule;
class SgProject;
class Statement;
class Xml;

class Program {
public:
  int nb_counters = 0;
  int nb_parameters = 0;
  std::vector<Statement*> statement;  // owned
  std::vector<std::string> variable_declaration;
  // The names declared by each entry of variable_declaration, in the same
  // order; filled by from_Sage only.
  std::vector<std::vector<std::string>> declared_names;
  // Lines written first in the kernel's body: the input's locals
  // initialised from run-time values (from_Sage), then, in a tiled
  // program, the checks of the values a parametric tiling assumed and the
  // split parameters computed again from the sizes and block_size the
  // caller has set by then.
  std::vector<std::string> kernel_entry;
  // The input's functions that the tiled code calls, as (name, C text) in
  // file order, written ahead of the statement macros; filled by from_Sage
  // (InputFunctions). The input's own min and max replace the tiled code's
  // functions of those names.
  std::vector<std::pair<std::string, std::string>> functions;
  // The input's #include lines, in file order, written after the tiled
  // code's own; filled by from_Sage.
  std::vector<std::string> includes;
  // In a tiled program, per statement under a parametric tiling, the
  // constraints that put a point in its tile, on the inner counters that
  // locate it there (null for the other statements; owned): code
  // generation runs the full tiles apart from the partial ones.
  std::vector<Polyhedron*> tile;
  // In a tiled program, per statement under a rectangular parametric
  // tiling, unions whose intersection is its domain for parameters >= 0
  // (the only values the tiled code runs with: the kernel checks the
  // sizes), each far smaller than the domain (empty for the other
  // statements; owned): the full-tile search works on each instead of the
  // whole domain.
  std::vector<std::vector<Domain*>> domain_factors;
  // In a tiled program, per tiled statement, the test that a point of its
  // domain is an instance (null for an untiled statement; owned): code
  // generation may scan a convex superset of the domain, in the cell
  // constraints, and test every point (its last mode, past the budgets of
  // the others).
  std::vector<InstanceGuard*> guard;
  // Per statement, whether its domain is already such a superset: the
  // crossing of its pieces exceeded its budget. Such a statement tests
  // every point, whatever the mode of code generation.
  std::vector<bool> superset;
  // The budget of isl operations of the exact modes of code generation; 0
  // for the code generator's own. A constant tiling along hyperplanes
  // whose values skip integers (a determinant other than +-1) makes each
  // operation costly (strides of large numbers): its program gets a
  // smaller one.
  unsigned long exact_mode_operations = 0;

  Program() = default;
  // Takes over the statements.
  Program(int nb_counters, int nb_parameters, std::vector<Statement*> statements);
  // Read from its XML element; owns the statements read.
  explicit Program(const Xml& node);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The model of the static control part of the project's input file.
  // Stops the run on a construct the model has no form for. The caller owns
  // the new program.
  static Program* from_Sage(SgProject* project);

  std::set<int> get_parameters() const;  // used by any statement's domain
  std::set<int> get_counters() const;
  std::vector<std::string> get_variable_declaration() const;
  void set_variable_declaration(const std::vector<std::string>& declarations);
  void set_variable_declaration(const std::set<std::string>& declarations);

  // One line per statement domain, then "D := D0+D1+...;".
  void print_iscc(std::ostream& out) const;

  // Writes "<base>.iscc", has iscc generate the loop nest and writes
  // "<base>.tiled.cc", base being `file` less its last two characters.
  // schedules[i] is the schedule of statement i; both stay the caller's.
  // Stops the run, writing no output file, when iscc fails.
  void backend_iscc(const std::vector<Schedule*>& schedules, const std::string& file) const;

  // ---- further operations; the new programs carry no declarations ----
  // n empty statements ranked 0 .. n-1, the counts of the registry.
  explicit Program(int n);
  Program* clone() const;
  // A clone of statement i, respectively of statements v[0], v[1], ...,
  // renumbered from 0 in a new program with the same counts.
  Program* restrict_to_statement(int i) const;
  Program* restrict_to_statements(const std::vector<int>& v) const;
  // Storage mappings of one array, or of every array of the map in name
  // order, applied to every statement (the mappings stay the caller's).
  void apply(std::string array, ModularMapping* m);
  void apply(const std::map<std::string, ModularMapping*>& m);
  // Copies of c's constraints added to every statement's domain.
  void add_context(Polyhedron* c);
  // Floor and ceil bounds rewritten in every domain, in place.
  void eliminate_floor_and_ceil();
  void substitute_arrays(const std::map<std::string, std::string>& m);

  // Debug dumps framed by "[PROGRAM]" and a line of "=": each statement's
  // dump on standard error, its matrices on standard output.
  void print() const;
  void print_matrices() const;
  void print_variable_declaration(std::ostream& out) const;
  // Each statement's C text and a line end, on standard output.
  void backend() const;
  // The matrix-form description of the program.
  void print_candle(std::ostream& out) const;
  // The element `tag`: the counts, the statements and the declarations,
  // then declared_names, kernel_entry and functions.
  void print_xml(std::ostream& os, std::string tag) const;
  // The matrix back end: gathers the statements' matrices, then stops with
  // "Error 1" on standard output, having written nothing.
  [[noreturn]] void backend(const std::vector<Schedule*>& schedules) const;
};

// The program frame with, per statement, its domain (nothing for a statement
// without one yet), a line end and its C text.
std::ostream& operator<<(std::ostream& os, const Program& p);

// State of the model builder, kept for the whole process: whether the
// traversal is inside the static control part, the statements found, and
// every declaration of the file in order with the names it declares.
extern int in_scop;
extern std::vector<Statement*> statement_vec;
extern std::vector<std::string> var_declaration;
extern std::vector<std::vector<std::string>> var_declared_names;

#endif
