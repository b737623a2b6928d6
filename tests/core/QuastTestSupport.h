#ifndef TARVEX_TESTS_QUAST_TEST_SUPPORT_H
#define TARVEX_TESTS_QUAST_TEST_SUPPORT_H

// Helpers of the quast and solver tests: evaluation with floor division
// (the reading of DIV nodes in solver answers) and hand-built solver records.

#include <map>
#include <vector>

#include "pip.h"

class Expression;
class Quast;

// Value of e for the given counter and parameter values; DIV floors.
int floor_value(const Expression* e, const std::map<int, int>& parameters,
                const std::map<int, int>& counters = {});
// The leaf reached at the parameter values (tests walked with floor
// semantics), or null at a bottom.
Quast* leaf_at(Quast* q, const std::map<int, int>& parameters);

// malloc'ed records, freed by pip_quast_free / pip_list_free.
PipVector* pip_vector(const std::vector<long long>& values, long long deno = 1);
PipList* pip_list(const std::vector<PipVector*>& vectors);
PipQuast* pip_node();  // every pointer null: the solver's "no solution"
PipNewparm* pip_newparm(int rank, PipVector* vector, long long deno);

#endif
