// An S-expression dump of a syntax tree, for tests and debugging.
#ifndef TARVEX_FRONTEND_TREEDUMP_H
#define TARVEX_FRONTEND_TREEDUMP_H

#include <string>

#include "SyntaxTree.h"

// One node per line, indented two blanks per level:
// `(ClassName code attributes...` then the children, then `)`; a null
// child is `null`. Attributes are names, literal spellings, pragma texts,
// declarator parts, operator modes, written types and directive lines:
// everything the unparser prints. Positions are left out.
std::string dump_tree(const SgNode* root);

#endif
