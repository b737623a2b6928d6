#ifndef TARVEX_C_MEANING_H
#define TARVEX_C_MEANING_H

// The input is C and the tiled code C++, which carries the input's
// declarations, initialisers, statements and called functions as text.
// Where C++ would read that text otherwise than C, the syntax tree is
// rewritten before its text is taken, so that it writes out what C does
// implicitly:
// - each argument of a call of a function of the C library that C++
//   overloads (the math functions, abs, labs and llabs) is cast to the
//   type of its parameter in the prototype in scope (the input's own,
//   declared earlier in the file, else the library's), as C converts it:
//   C++ may pick another overload (abs(double) for abs(-2.5), sqrt(float)
//   for a float argument); an argument whose type is plainly that one
//   already is left as it is;
// - a void * argument of a pointer parameter of any prototype in scope is
//   cast to the parameter's type, which C++ does not do implicitly;
// - under sizeof, each character literal, comparison and logical operator
//   is cast to int, its type in C (C++ gives char and bool);
// - a string literal that fills a char array of a stated length becomes
//   the brace list of its characters: C leaves out the null character that
//   finds no room, C++ refuses the literal;
// - in a function body (the tiled code carries those it calls), a void *
//   that initialises, is assigned to or is returned as another pointer is
//   cast to that pointer's type, as C converts it.
// An old-style declaration `int g();`, which C++ reads as taking no
// argument, is given the parameters of the file's definition of g.
// What has no such C++ form stops the run with the input file and line.
//
// Ownership: nodes are the front end's; the casts and lists the rewrites
// make are new nodes of its pool. Nothing is owned.

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class SgAssignOp;
class SgExpression;
class SgFunctionDeclaration;
class SgInitializedName;
class SgNode;
class SgVarRefExp;

class CMeaning {
public:
  // An #include line of the input, in file order.
  void include(const std::string& line);
  // A function declaration, in file order: its prototype is in scope from
  // here on, and its body, unless it is the kernel's (which the tiled code
  // does not carry), is rewritten.
  void function(SgFunctionDeclaration* f, bool kernel);
  // A variable or typedef declaration, at file scope or in a function.
  void declaration(SgNode* d);
  // A statement of a static control part.
  void run_by_tiled_code(SgNode* code);
  // The carried functions, (name, text) in file order as InputFunctions
  // gives them, with each old-style declaration written with the
  // parameters of the file's definition. Stops the run on a carried
  // function that has no C++ form: a parameter named like a C++ keyword, an
  // old-style declaration without definition in the file that a call
  // passes arguments to, a void * assigned to an element or a pointee.
  std::vector<std::pair<std::string, std::string>> carried(
      const std::vector<std::pair<std::string, std::string>>& texts) const;

private:
  // The declarations of each function name, in file order; not owned.
  std::map<std::string, std::vector<SgFunctionDeclaration*>> functions;
  // The last declaration of each name with a parameter list (a prototype).
  std::map<std::string, SgFunctionDeclaration*> prototypes;
  // The variables declared outside function bodies being rewritten, which
  // the tiled code declares at file scope, its locals included.
  std::map<std::string, SgInitializedName*> variables;
  std::set<std::string> array_types;                  // typedef names of arrays
  std::set<std::string> called_with_arguments;
  // Per function, why its body has no C++ form ("" when it has one).
  std::map<std::string, std::string> refusals;
  bool type_generic_math = false;  // <tgmath.h> is included
  std::set<const SgNode*> done;    // calls and sizeofs already rewritten

  // How a call of `callee` converts each argument: to `type` ("" for none
  // that a cast may name), and whether that type is a pointer.
  struct Conversion {
    std::string type;
    bool pointer;
  };
  std::vector<Conversion> conversions(const std::string& callee) const;
  bool returns_void_pointer(const std::string& callee) const;
  // Rewrites `node` and everything under it; `body` is the function whose
  // body it lies in (null outside function bodies), whose locals `locals`
  // names.
  void rewrite(SgNode* node, SgFunctionDeclaration* body, const std::map<std::string, SgInitializedName*>& locals);
  void convert_arguments(SgNode* call, const std::map<std::string, SgInitializedName*>& locals);
  void cast_int_operands(SgNode* size_of);
  // The void * conversions of a function body (`body`), or of a statement
  // of a part (`body` null).
  void cast_void_pointers(SgNode* node, SgFunctionDeclaration* body,
                          const std::map<std::string, SgInitializedName*>& locals);
  void cast_assigned(SgAssignOp* assign, const std::string& function);
  bool is_void_pointer(SgExpression* e, const std::map<std::string, SgInitializedName*>& locals) const;
  const SgInitializedName* declaration_of(SgVarRefExp* ref,
                                          const std::map<std::string, SgInitializedName*>& locals) const;
  // The type words of `e` where its C type is plain to see: a literal, a
  // cast to a type without pointer, a variable or an element of an array
  // declared with exactly its subscripts; "" otherwise.
  std::string plain_type(SgExpression* e, const std::map<std::string, SgInitializedName*>& locals) const;
  // Stops the run on a parameter of the function `name` named like a C++
  // keyword.
  void check_parameters(const std::string& name) const;
  // `text`, a carried declaration of `name`, or, for an old-style one, the
  // same with the parameters of the file's definition; stops the run when
  // there is none and a call passes arguments.
  std::string with_parameters(const std::string& name, const std::string& text) const;
};

#endif
