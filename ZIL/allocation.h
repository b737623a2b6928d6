// Checked allocation for the whole tiling library: every record, matrix and
// vector it allocates goes through these functions, so that no caller ever
// writes through a null pointer. A request the system cannot meet (or whose
// size does not fit in memory at all) writes "ZIL: out of memory" on
// standard error and ends the process with exit status 1. An empty request
// allocates one byte: the result is always a valid pointer for free().
// Counts below 0 are read as 0.
#ifndef TARVEX_ZIL_ALLOCATION_H
#define TARVEX_ZIL_ALLOCATION_H

#include <cstddef>

struct rational64;

// New uninitialised array of count elements of size bytes, freed with free().
void *allocArray(std::size_t count, std::size_t size);
// New zero-filled array of count elements of size bytes, freed with free().
void *allocZeroArray(std::size_t count, std::size_t size);

// New vector of nElem zeros, freed with free().
long long *allocZeroVector(int nElem);
// New nRow x nCol matrix of zeros, one row per allocation, freed with
// freeMatrix(mat, nRow).
long long **allocZeroMatrix(int nRow, int nCol);
// New nRow x nCol rational matrix, every entry 0/1, freed with
// freeMatrix(mat, nRow).
rational64 **allocZeroRationalMatrix(int nRow, int nCol);

#endif
