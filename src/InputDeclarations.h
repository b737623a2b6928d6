#ifndef TARVEX_INPUT_DECLARATIONS_H
#define TARVEX_INPUT_DECLARATIONS_H

// The declarations of the input as the model builder meets them, in file
// order. Each variable declaration becomes the text the tiled code declares
// it by at file scope (appended to var_declaration, with its names to
// var_declared_names); so do the parameters of the kernel's function, the
// function holding the static control part, whose locals are first given
// names of their own where C keeps apart what would share a name
// (LocalNames). A local of that function initialised from a run-time value
// ahead of the first part is declared without its initialiser, which
// becomes an assignment on entry to tiled_kernel(); a scalar initialised
// from a constant keeps it and gets the assignment too, wherever it stands.
// A static local keeps its initialiser, which C runs once. Every
// declaration is checked against the others (one variable per name) and
// against the macros of the tiled code.
//
// Ownership: nodes are the front end's; nothing is owned.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "CMeaning.h"
#include "DeclarationTable.h"
#include "InputFunctions.h"
#include "LocalNames.h"
#include "PreludeNames.h"

class SgAssignInitializer;
class SgFunctionDeclaration;
class SgInitializedName;
class SgNode;
class SgTypedefDeclaration;
class SgVariableDeclaration;

class InputDeclarations {
public:
  // A function, with whether it is the kernel's (its parameters are then
  // declared).
  void function(SgFunctionDeclaration* f, bool kernel);
  // A typedef at file scope, or inside a function (`local`).
  void type_name(SgTypedefDeclaration* t, bool local);
  // A variable declaration at file scope (`function` null) or inside
  // `function`; `ahead_of_part` when no part has started yet.
  void variable(SgVariableDeclaration* d, SgFunctionDeclaration* function, bool kernel, bool ahead_of_part);
  // The #include, #define and #undef lines that stand ahead of a node.
  void directives(const std::vector<std::string>& lines);
  // A statement of a static control part, which the tiled code runs.
  void statement(SgNode* assignment);
  // Stops the run on a prototype of min or max without definition.
  void finish() const;

  const DeclarationTable& table() const { return names; }
  // "  n = N;" for each local initialised on entry to tiled_kernel().
  const std::vector<std::string>& initialisations() const { return entry; }
  // An array of the kernel's function whose initialiser tiled_kernel()
  // does not give again on each call: its declaration and its "file:line".
  struct InitialisedArray {
    std::string text;
    std::string location;
  };
  // Those arrays by name.
  const std::map<std::string, InitialisedArray>& arrays_initialised_once() const { return initialised_arrays; }
  // Stops the run on a call, in code the tiled code runs, of a function
  // that reads or writes what the tiled code cannot keep
  // (InputFunctions::check_calls).
  void check_calls(const std::map<std::string, std::string>& unread,
                   const std::map<std::string, std::string>& unwritten) const {
    functions.check_calls(unread, unwritten);
  }
  // The functions the tiled code carries (InputFunctions::carried, in the
  // meaning C gives them: CMeaning::carried).
  std::vector<std::pair<std::string, std::string>> carried_functions() const {
    return meaning.carried(functions.carried());
  }
  // The input's #include lines, in file order.
  const std::vector<std::string>& includes() const { return include_lines; }

private:
  DeclarationTable names;
  LocalNames local_names;
  PreludeFunctions prelude_functions;
  InputFunctions functions;
  CMeaning meaning;
  std::vector<std::string> include_lines;
  std::vector<std::string> entry;
  std::map<std::string, InitialisedArray> initialised_arrays;
  size_t file_scope_variables = 0;  // the first ones are the directive carriers
  std::set<std::string> carrier_names;  // of the carriers whose statements are dropped

  // The file-scope definitions of variables met so far: where each is
  // declared in var_declaration, its text as written, and whether it has
  // an initialiser.
  struct Definition {
    size_t at;
    std::string text;
    bool initialised;
  };
  std::map<std::string, Definition> definitions;

  void hoist(const std::string& name, const std::string& text, SgNode* where);
  bool merged_definition(SgInitializedName* v, const std::string& text);
  void check_carrier_name(const std::string& name, const std::string& text) const;
  std::string local_text(SgVariableDeclaration* d, SgInitializedName* v, bool kernel, bool ahead_of_part);
  void initialise_on_entry(SgInitializedName* v, SgAssignInitializer* value);
  void check_static_initialiser(SgInitializedName* v, const std::string& text) const;
};

#endif
