// Untiled, constant, rectangular ZIL and general ZIL statements in one program.
// params: N
// arrays: A B C s
// block_sizes: 1 2 3 5 8
// values: 0 | 1 | 2 | 4 | 7 | 12
int N;
int A[12][12];
int B[12][12];
int C[12][12];
int s[12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i][0][0][0]
    s[i] = s[i] * 2 + i;
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[3][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][__T][i][j]
      A[i][j] = A[i][j] + s[i] * 2 - j;
    }
  }
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[1]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[2][__T][__T][i][j]
      B[i][j] = B[i][j] * 2 + A[j][i];
    }
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[2]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[3][__T][__T][i][j]
      C[i][j] = C[i][j] + B[i][j] * 3 - A[i][j];
    }
#pragma end_scop
}
