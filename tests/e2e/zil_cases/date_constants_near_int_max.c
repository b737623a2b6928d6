// Loops that run next to INT_MIN, whose schedules add the distance back:
// the dates i + 2147483645 stay small in the input, and so must the values
// that the tiled nest scans inside a tile (under a box tiling, and under
// a rectangular tiling in a second nest).
// params: N
// arrays: A b
// block_sizes: 1 2 3 4 7 16
// values: 0 | 1 | 6 | 17 | 30
int N;
int A[32][32];
int b[32];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = -2147483644; i < N - 2147483645; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[0][__T][__T][(i + 2147483645)][j]
      A[i + 2147483645][j] = (A[i + 2147483644][j] + A[i + 2147483645][j - 1] + A[i + 2147483645][j]) % 1009;
    }
  for (i = -2147483645; i < N - 2147483645; i++) {
#pragma tile_group[1]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i]
#pragma schedule[1][__T][(i + 2147483645)][0]
    b[i + 2147483645] = b[i + 2147483645] * 3 + A[i + 2147483645][1];
  }
#pragma end_scop
}
