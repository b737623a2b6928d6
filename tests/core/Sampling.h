// Case counts of the random oracles. Under the sanitizers every case costs
// tens of times more, and what that job looks for (memory and undefined
// behaviour faults) shows on a sample; the plain build runs every case.
#ifndef TARVEX_TESTS_SAMPLING_H
#define TARVEX_TESTS_SAMPLING_H

#if defined(__SANITIZE_ADDRESS__)
constexpr int sampled(int cases) { return cases / 4 > 0 ? cases / 4 : 1; }
#else
constexpr int sampled(int cases) { return cases; }
#endif

#endif
