// Right-hand sides with counters used as values, calls, casts,
// comparisons and a conditional, under constant tiling.
// params: N
// arrays: A B C
// values: 0 | 1 | 5 | 8 | 10
#include <math.h>
int N;
double A[10][10];
double B[10][10];
int C[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[4][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j][0]
      B[i][j] = (double)(i - j) / (j + 1) + sqrt(fabs(A[i][j])) + (A[i][j] > 0 ? i : -j);
#pragma tile_group[1]
#pragma tile_size[4][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j][1]
      C[i][j] = (i < j) + (i == j && j != 3) * 2 + (i << 1) + (j % 3) - -i;
    }
#pragma end_scop
}
