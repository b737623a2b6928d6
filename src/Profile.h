#ifndef TARVEX_PROFILE_H
#define TARVEX_PROFILE_H

#include <cstdint>

// Two process-wide timing accumulators, in microseconds. Nothing on the
// road of a run reads or adds to them.
extern int64_t DS_time;
extern int64_t clak_time;

void init_time();  // both accumulators to 0
void add_to_DS(int64_t t);
void add_to_clak(int64_t t);
int64_t get_DS_time();
int64_t get_clak_time();
// Wall-clock time in microseconds.
int64_t get_time();

#endif
