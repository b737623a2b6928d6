// Fewer tests for the points without solution. isl writes them as
// disjoint basic sets, cut apart along lines that mean nothing to the
// answer (b >= 6 and N >= 5 next to b <= 5 and b <= N + 1, where b <= N + 1
// and N >= 5 would do); each such constraint costs the answer tree a test.
// The tree builder accepts overlapping basic sets where every one of them
// leads to the same leaf.
#ifndef TARVEX_PIP_WIDEN_H
#define TARVEX_PIP_WIDEN_H

#include "isl_handle.h"

// set (taken) with each basic set (without divisions) widened by dropping
// every inequality whose removal adds no integer point outside set, and
// the basic sets then inside another one left out: the same integer
// points, possibly overlapping basic sets. Caller owns the result.
Isl<isl_set> pip_widen_within(isl_ctx *ctx, Isl<isl_set> set);

#endif
