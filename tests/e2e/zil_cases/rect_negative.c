// Hyperplanes [i - j][j] give negative tile indices; the kernel has no
// dependence.
// params: N
// arrays: B
// block_sizes: 1 2 3 4 5 8 20
// values: 0 | 1 | 2 | 3 | 5 | 9 | 13 | 16
int N;
int B[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i - j][j]
#pragma schedule[__T][__T][i][j]
      B[i][j] = B[i][j] * 2 + i - 3 * j;
    }
#pragma end_scop
}
