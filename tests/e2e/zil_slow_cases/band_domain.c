// A band of three diagonals (j from i - 1 to i + 1) of a large square
// under a ratio tiling: in the last mode, and in its box form, the loops
// are clamped by the range of j - i, on the points and on the tiles, so
// that the scan runs a few points per instance rather than every point of
// each tile on the diagonal (N^2 of them once block_size >= N), nor,
// at block_size 1, every tile of the box.
// params: N
// arrays: A
// block_sizes: 1 16 1048576
// values: 0 | 7 | 262144
int N;
double A[262148][3];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = i - 1; j <= i + 1; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j - i + 1] = A[i][j - i + 1] * 0.5 + i - j;
    }
#pragma end_scop
}
