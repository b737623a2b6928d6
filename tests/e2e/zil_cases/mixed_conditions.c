// One imperfect nest: rectangular ZIL before the inner loop and inside an
// if, general ZIL in its else, all sharing the outer tile of i.
// params: N M
// arrays: A B s
// block_sizes: 1 2 3 4 6
// values: 0 0 | 1 1 | 2 5 | 6 3 | 9 9 | 12 7
int N;
int M;
int A[12][12];
int B[12][12];
int s[12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i][0][0][0]
    s[i] = s[i] * 2 + i;
    for (j = 0; j < M; j++) {
      if (i + j < M) {
#pragma tile_group[1]
#pragma tile_ratio[2][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][i][1][__T][j]
        A[i][j] = ((j > 0 ? A[i][j - 1] : 1) * 2 + s[i]) % 1013;
      } else {
#pragma tile_group[2]
#pragma tile_lattice[2][0][0][1]
#pragma tile_shape[i][2 * block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[__T][i][2][__T][j]
        B[i][j] = B[i][j] * 3 + s[i] - j;
      }
    }
  }
#pragma end_scop
}
