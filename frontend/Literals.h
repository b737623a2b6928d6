// Literal nodes from their tokens: C's literal types and values.
#ifndef TARVEX_FRONTEND_LITERALS_H
#define TARVEX_FRONTEND_LITERALS_H

#include <vector>

#include "Lexer.h"
#include "SyntaxTree.h"

// An integer or floating literal; the class follows C's type of the
// literal (suffixes, size). Throws SyntaxError for a malformed literal or
// an integer that fits no C integer type. The node takes `info`.
SgValueExp* make_number_literal(const Token& t, Sg_File_Info* info);

// A character literal (one character or escape).
SgCharVal* make_char_literal(const Token& t, Sg_File_Info* info);

// One string node from adjacent string literal tokens (at least one).
SgStringVal* make_string_literal(const std::vector<Token>& parts, Sg_File_Info* info);

#endif
