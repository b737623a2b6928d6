// Untiled, rectangular ZIL, general ZIL and constant-tiled statements in one
// loop nest; the two parametric ones share their tiles and interleave inside
// them ([__T][i][__T][j]), with a dependence along j.
// params: N M
// arrays: A B C D s
// block_sizes: 1 2 3 7 20
// values: 0 0 | 1 1 | 0 3 | 3 0 | 4 9 | 9 4 | 10 10 | 10 1
int N;
int M;
int A[10][10];
double B[10][10];
float C[10][10];
long D[10][10];
int s[10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i][0][0][0][0]
    s[i] = s[i] * 2 + i;
    for (j = 0; j < M; j++) {
#pragma schedule[0][i][1][j][0][0]
      A[i][j] = A[i][j] + s[i] - j;
#pragma tile_group[1]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][i][__T][j][0]
      B[i][j] = B[i][j] * 0.5 + A[i][j] + (j > 0 ? B[i][j - 1] : 0);
#pragma tile_group[2]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[1][__T][i][__T][j][1]
      C[i][j] = C[i][j] + B[i][j] * 2;
#pragma tile_group[3]
#pragma tile_size[3][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[2][__T][__T][i][j][0]
      D[i][j] = D[i][j] + C[i][j] + i * j;
    }
  }
#pragma end_scop
}
