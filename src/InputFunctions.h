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

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "NameUses.h"

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
  // keeps its parts only), has a name C++ does not allow at file scope or
  // uses a predefined identifier that names its line or file
  // (check_predefined_names).
  std::vector<std::pair<std::string, std::string>> carried() const;
  // Stops the run, at the line of the call, when a function that the code
  // the tiled code runs calls, directly or through further calls, reads a
  // name of `unread` or writes a name of `unwritten` (the functions the
  // file only declares are taken to do neither). Each map gives, for a
  // name, the sentence that says why the tiled code cannot keep that use.
  void check_calls(const std::map<std::string, std::string>& unread,
                   const std::map<std::string, std::string>& unwritten) const;

private:
  struct Declaration {
    std::string name;
    std::string text;
    std::string head;             // as messages show it
    std::set<std::string> calls;  // the functions its body calls
    bool kernel;
    SgFunctionDeclaration* node;
    NameUses uses;  // of its body; none for a kernel's, which no code may call
  };
  std::vector<Declaration> declarations;
  std::vector<SgNode*> runs;  // the code the tiled code runs

  std::set<std::string> closure() const;
  std::vector<std::string> reached_from(const std::string& callee) const;
  void check_calls_in(SgNode* code, const std::map<std::string, std::string>& unread,
                      const std::map<std::string, std::string>& unwritten) const;
};

#endif
