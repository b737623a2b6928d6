// Loop tests whose parts bound the counter from below, under rectangular
// and general tilings: C stops a loop at the first counter that fails its
// test, so such a part holds along the loop only when it holds at the
// start, and the loop runs no iteration otherwise. One loop per kind of
// part: a lower bound on a parameter beside an upper bound, a strict bound
// on the outer counter, a scaled bound, an equality, a part on parameters
// only.
// params: N M
// arrays: A B C D E
// block_sizes: 1 2 3 5
// values: 0 0 | 5 2 | 6 6 | 8 3 | 5 1 | 7 0
int N;
int M;
int A[2][12][12];
int B[2][12][12];
int C[2][12][12];
int D[2][12][12];
int E[2][12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
    for (j = 0; j < N && j >= M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      A[0][i][j] = A[0][i][j] * 2 + i - j;
#pragma tile_group[1]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[1][__T][__T][i][j]
      A[1][i][j] = A[1][i][j] * 3 + i + j;
    }
    for (j = 0; j < N && j > i - 2; j++) {
#pragma tile_group[2]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[2][__T][__T][i][j]
      B[0][i][j] = B[0][i][j] * 2 + i - j;
#pragma tile_group[3]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[3][__T][__T][i][j]
      B[1][i][j] = B[1][i][j] * 3 + i + j;
    }
    for (j = 1; j <= N && 3 * j >= M + 2; j++) {
#pragma tile_group[4]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[4][__T][__T][i][j]
      C[0][i][j] = C[0][i][j] * 2 + i - j;
#pragma tile_group[5]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[5][__T][__T][i][j]
      C[1][i][j] = C[1][i][j] * 3 + i + j;
    }
    for (j = 1; j == M; j++) {
#pragma tile_group[6]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[6][__T][__T][i][j]
      D[0][i][j] = D[0][i][j] * 2 + i - j;
#pragma tile_group[7]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[7][__T][__T][i][j]
      D[1][i][j] = D[1][i][j] * 3 + i + j;
    }
    for (j = 0; j < N && M < 3; j++) {
#pragma tile_group[8]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[8][__T][__T][i][j]
      E[0][i][j] = E[0][i][j] * 2 + i - j;
#pragma tile_group[9]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[9][__T][__T][i][j]
      E[1][i][j] = E[1][i][j] * 3 + i + j;
    }
  }
#pragma end_scop
}
