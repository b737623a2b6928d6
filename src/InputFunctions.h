#ifndef TARVEX_INPUT_FUNCTIONS_H
#define TARVEX_INPUT_FUNCTIONS_H

// The functions of the input that the tiled code calls, which it carries:
// those its statements and the assignments on entry to tiled_kernel() call,
// the input's own min and max (which stand in for the tiled code's
// functions of those names, so that the statements call the functions the
// original calls), and in turn whatever these call. Their declarations,
// definitions and prototypes alike, are carried as the input wrote them (in
// the words of C++ the tiled code is written in), in file order; a
// prototype without a definition names a function for the user to link.
//
// Ownership: nodes are the front end's; nothing is owned.

#include <set>
#include <string>
#include <utility>
#include <vector>

class SgFunctionDeclaration;
class SgNode;

class InputFunctions {
public:
  // A function declaration of the input, in file order; `kernel` when it
  // holds a static control part.
  void add(SgFunctionDeclaration* f, bool kernel);
  // The tiled code runs `code`: the functions it calls are carried.
  void run_by_tiled_code(SgNode* code);
  // (name, text) of each carried declaration, in file order. Stops the run
  // when a carried function holds a static control part (the tiled code
  // keeps its parts only) or has a name C++ does not allow at file scope.
  std::vector<std::pair<std::string, std::string>> carried() const;

private:
  struct Declaration {
    std::string name;
    std::string text;
    std::string head;             // as messages show it
    std::set<std::string> calls;  // the functions its body calls
    bool kernel;
  };
  std::vector<Declaration> declarations;
  std::set<std::string> called;  // by the tiled code itself

  std::set<std::string> closure() const;
};

#endif
