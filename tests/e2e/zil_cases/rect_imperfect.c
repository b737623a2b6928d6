// Imperfect nest: statements before, in and after an inner loop, tiled
// rectangularly (one and two hyperplanes) and generally, one outer tile.
// params: N M
// arrays: A s
// block_sizes: 1 2 3 4 7
// values: 0 0 | 1 1 | 0 3 | 3 0 | 5 4 | 9 9 | 12 12
int N;
int M;
int A[12][12];
int s[12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i][0][0][0]
    s[i] = s[i] + i;
    for (j = 0; j < M; j++) {
#pragma tile_group[1]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][i][1][__T][j]
      s[i] = (s[i] * 3 + A[i][j]) % 1013;
    }
#pragma tile_group[2]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[__T][i][2][0][0]
    A[i][0] = A[i][0] + s[i];
  }
#pragma end_scop
}
