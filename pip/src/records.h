// Constructors of answer records used while building a tree. Every record
// is a malloc allocation of its own, released by the free functions of
// pip.h.
#ifndef TARVEX_PIP_RECORDS_H
#define TARVEX_PIP_RECORDS_H

#include "pip.h"

// New vector of n entries, numerators 0 and denominators 1. Caller frees it
// with pip_vector_free.
PipVector *pip_vector_new(int n);

// New list cell holding vector (adopted; may be NULL). Caller frees it with
// pip_list_free.
PipList *pip_list_cell_new(PipVector *vector);

// New new-parameter record adopting vector. Freed with its node.
PipNewparm *pip_newparm_new(int rank, PipVector *vector, long long deno);

// New Nil node below father (NULL at the root). Caller frees it with
// pip_quast_free.
PipQuast *pip_quast_new(PipQuast *father);

#endif
