#ifndef TARVEX_SOURCE_LOCATION_H
#define TARVEX_SOURCE_LOCATION_H

// Where a node of the input stands, as messages about the input name it:
// "prog.c:12" (the file as the front end was given it, and the line).

#include <string>

class SgNode;

std::string location_of(const SgNode* node);

#endif
