#ifndef TARVEX_PROGRAM_H
#define TARVEX_PROGRAM_H

// The polyhedral model of the static control part: its statements in
// textual order (statement i has rank i whenever the program reaches code
// generation), the registry counts when it was made, and the C variable
// declarations of the whole file as text, with the names each declares.
//
// Ownership: a program owns its statements.

#include <ostream>
#include <set>
#include <string>
#include <vector>

class Schedule;
class SgProject;
class Statement;

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

  Program() = default;
  // Takes over the statements.
  Program(int nb_counters, int nb_parameters, std::vector<Statement*> statements);
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
};

// State of the model builder, kept for the whole process: whether the
// traversal is inside the static control part, the statements found, and
// every declaration of the file in order with the names it declares.
extern int in_scop;
extern std::vector<Statement*> statement_vec;
extern std::vector<std::string> var_declaration;
extern std::vector<std::vector<std::string>> var_declared_names;

#endif
