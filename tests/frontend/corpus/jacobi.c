// 1-d Jacobi stencil, rectangular parametric tiling in time and space.
#include <math.h>

#define T 100
#define N 1000

double a[N], b[N];
int t, i;

void jacobi(void)
{
#pragma begin_scop
  for (t = 1; t <= T; t++) {
    for (i = 2; i <= N - 1; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[t][2 * t + i]
#pragma schedule[__T * t][2 * t + i][0]
      b[i] = 0.33333 * (a[i - 1] + a[i] + a[i + 1]);
    }
    for (i = max(2, t - 1); i <= min(N - 1, t + N); i++) {
#pragma tile_group[0]
#pragma tile_ratio[ 1 ][ 1 ]
#pragma tile_hyperplans[t][2 * t + i + 1]
#pragma schedule[__T * t][2 * t + i + 1][1]
      a[i] = b[i];
    }
  }
#pragma end_scop
}
