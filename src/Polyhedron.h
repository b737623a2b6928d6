#ifndef TARVEX_POLYHEDRON_H
#define TARVEX_POLYHEDRON_H

#include <map>

// Compaction maps of the last parametric integer programming problem: the
// position of a kept counter (parameter) column -> its registry rank. Every
// compaction refills them; solution readers use them before the next one.
extern std::map<int, int> actual_counter;
extern std::map<int, int> actual_parameter;

#endif
