// Two statements share the loops of their diamond tiles (same lattice with
// denominators, same tiled dimensions): both get the same offset dates, and
// within a tile the first runs before the second at every point.
// params: N
// arrays: A B
// block_sizes: 2 4 6 16
// values: 0 | 1 | 3 | 7 | 12
int N;
int A[12][12];
int B[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][1][-1][2][2]
#pragma tile_shape[i + j][block_size - 1 - i - j][i - j][block_size - 1 - i + j]
#pragma schedule[0][__T][__T][i][j][0]
      A[i][j] = (A[i][j] * 3 + i - j) % 1009;
#pragma tile_group[0]
#pragma tile_lattice[1][1][1][-1][2][2]
#pragma tile_shape[i + j][block_size - 1 - i - j][i - j][block_size - 1 - i + j]
#pragma schedule[0][__T][__T][i][j][1]
      B[i][j] = (B[i][j] + A[i][j] * 2) % 1009;
    }
#pragma end_scop
}
