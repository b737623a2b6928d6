// Rectangular parametric tiling of three 2-D statements with the ratios
// (1, 1), (1, 2) and (2, 1), their tiled dimensions at different places of
// their schedules, and counters used as values.
// params: N
// arrays: A B C
// block_sizes: 1 2 3 4 5 8 20
// values: 0 | 1 | 2 | 3 | 5 | 9 | 13 | 16
int N;
int A[16][16];
int B[16][16];
int C[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 1; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i - 1][j] + A[i][j - 1] - A[i][j];
    }
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[1]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][i][__T][j]
      B[i][j] = B[i][j] * 2 + A[i][j] + i - j;
    }
  for (i = 0; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[2]
#pragma tile_ratio[2][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[2][__T][__T][j][i]
      C[i][j] = C[i][j - 1] + B[i][j] * j;
    }
#pragma end_scop
}
