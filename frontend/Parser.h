// The recursive-descent parser of tarvex's C subset.
#ifndef TARVEX_FRONTEND_PARSER_H
#define TARVEX_FRONTEND_PARSER_H

#include <string>
#include <vector>

#include "Lexer.h"
#include "SyntaxTree.h"

// Parses the whole text of one file. `file_name` goes into every position
// record; with `lines`, positions are those of the text the bytes stand for
// (see Lexer). Throws SyntaxError at the first fault; all state (macros,
// typedef names, scopes) lives in the call. The tree lives until the
// process ends.
SgSourceFile* parse_c_file(const std::string& file_name, const std::string& bytes,
                           const std::vector<int>* lines = nullptr);

#endif
