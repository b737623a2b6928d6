#ifndef TARVEX_PRELUDE_NAMES_H
#define TARVEX_PRELUDE_NAMES_H

// The tiled code defines the functions min, max, ceild and floord for the
// loop nest isl generates, and its statements keep calling min and max by
// name. The input may therefore give these names to no variable, macro or
// function, with one exception: a function min (max) returning exactly the
// minimum (maximum) of its two int parameters, which loop bounds read as
// such and which the tiled code carries in place of its own
// (InputFunctions). Every argument of a call of min or max in a statement
// must be an int: without the input's function the tiled code's stands for
// it, and converts no argument to int.

#include <map>
#include <set>
#include <string>
#include <vector>

class DeclarationTable;
class SgFunctionDeclaration;
class SgNode;

// Stops the run, naming the input file and line of `where`, when `name` (a
// name the input declares or calls) falls in a family of names that the
// tiled code makes up (GeneratedName.h): the two would meet in the tiled
// code, where a generated counter would capture the input's variable or
// two globals share a name.
void check_generated_family(const std::string& name, SgNode* where);

// Stops the run in the same way when the static control part writes
// block_size at `where` (a statement, or a loop of that counter): the tiled
// code reads it as its tile size, in every loop bound.
void check_written_name(const std::string& name, SgNode* where);

// Stops the run in the same way when `name` is block_size and `text`, its
// declaration, is other than `int block_size;`, the one the tiled code
// leaves out: the caller provides the tile size, an int, to the tiled code.
void check_tile_size_declaration(const std::string& name, const std::string& text, SgNode* where);

// Stops the run when a variable is named like a function of the tiled code;
// `text` is its declaration.
void check_variable_name(const std::string& name, const std::string& text);

// Stops the run on a "#define" of a function name of the tiled code among
// the directive lines.
void check_directives(const std::vector<std::string>& directives);

// Stops the run on a call of min or max inside `node` with an argument that
// is not an int by `table`.
void check_min_max_calls(SgNode* node, const DeclarationTable& table);

// The functions of the input named like a function of the tiled code.
class PreludeFunctions {
public:
  // Stops the run unless `f` is min or max as said above; a prototype
  // needs a definition later in the file.
  void add(SgFunctionDeclaration* f);
  // Stops the run when a prototype of min or max had no definition.
  void check_defined() const;

private:
  std::map<std::string, std::string> declared;  // name -> head of its prototype
  std::set<std::string> defined;                // names of the definitions
};

#endif
