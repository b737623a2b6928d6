/* Compound assignments, increments, while and do loops, bit operations. */
#include <stdlib.h>

#define N 1024
#define HALF (N / 2)
#undef HALF
#define HALF 512

int flags[N], histogram[16];
double u[N], w[N];

static int clamp(int v, int lo, int hi)
{
  return v < lo ? lo : v > hi ? hi : v;
}

void stencil(int n)
{
  int i, k = 0, HALFWAY;
  unsigned bits = 0;
#pragma begin_scop
  for (i = 1; i < N - 1; i++) {
#pragma schedule[i][0]
    w[i] = (u[i - 1] + u[i] + u[i + 1]) / 3;
  }
#pragma end_scop
  while (k < n) {
    bits |= 1u << (k & 7);
    bits ^= ~bits >> 1;
    flags[k] += flags[k - 1] * 2 - 1;
    flags[k] -= 3;
    flags[k] *= 2;
    flags[k] /= 2;
    flags[k] %= 5;
    flags[k] <<= 1;
    flags[k] >>= 1;
    flags[k] &= 0xff;
    histogram[clamp(flags[k], 0, 15)]++;
    if (!flags[k] || (k && bits))
      break;
    k++;
  }
  do {
    k--;
    if (k % 2 == 0)
      continue;
  } while (k > HALF);
  HALFWAY = k != 0 ? -k : +k;
}
