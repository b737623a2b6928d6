#ifndef TARVEX_NAME_USES_H
#define TARVEX_NAME_USES_H

// What the input's code does with the names a static control part can
// see, beyond the text the model reads: the tiled code runs the statements
// in tiled_kernel(), in a file of its own, and the functions they call run
// as written, so a name these read or write behind the model's back, or a
// predefined identifier whose value depends on where it stands, would mean
// something else there.
//
// Ownership: nodes are the front end's; nothing is owned.

#include <map>
#include <set>
#include <string>

class SgNode;

// The variables that code reads, writes and takes the address of (`&x`),
// each with its first use, among those a static control part can name:
// the file-scope variables, and the locals and parameters of a function
// that holds a part (the tiled code declares these at file scope). The
// parameters and locals of any other function are its own, in their C
// scopes, and are left out. A write is an assignment, `++` or `--` to a
// variable or to an element or member of it (`A[i] = 0` writes A); what a
// pointer points to is not followed.
struct NameUses {
  std::map<std::string, SgNode*> reads;
  std::map<std::string, SgNode*> writes;
  std::map<std::string, SgNode*> addresses;
};

// The uses inside `code`: a function declaration, a file, or any part of
// one outside a function.
NameUses outer_name_uses(SgNode* code);

// Whether `node` holds a static control part (its begin_scop pragma).
bool holds_part(SgNode* node);

// Stops the run, naming the file and line, at the first predefined
// identifier inside `code` whose value depends on where the code stands.
// Code that the tiled code moves (statements, initialisers, file-scope
// declarations) may use none of __func__, __FUNCTION__,
// __PRETTY_FUNCTION__, __LINE__ and __FILE__. The body of a function the
// tiled code carries (`carried_function`) keeps its function's name, so
// only __LINE__, __FILE__ and __PRETTY_FUNCTION__ (the function's whole
// signature in C++) are refused there.
void check_predefined_names(SgNode* code, bool carried_function);

#endif
