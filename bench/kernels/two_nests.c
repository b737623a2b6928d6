// Two small nests of two statements each: a general tiling by square
// boxes, then tile_ratio[3][2] on the hyperplanes i and j + 1 over a
// triangle.
// params: N M
// sizes: 2000 2000
// arrays: A B C D
int N;
int M;
double A[2000][2000];
double B[2000][2000];
double C[2000][2000];
double D[2000][2000];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j <= i; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[0][__T][__T][i][j][0]
      A[i][j] = A[i][j] * 0.5 + i - j;
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[0][__T][__T][i][j][1]
      B[i][j] = B[i][j] * 0.25 + A[i][j];
    }
  for (i = 1; i < N; i++)
    for (j = i; j < M - 1; j++) {
#pragma tile_group[1]
#pragma tile_ratio[3][2]
#pragma tile_hyperplans[i][j + 1]
#pragma schedule[1][__T][__T][i][j][0]
      C[i][j] = C[i - 1][j] * 0.5 + A[i][j];
#pragma tile_group[1]
#pragma tile_ratio[3][2]
#pragma tile_hyperplans[i][j + 1]
#pragma schedule[1][__T][__T][i][j][1]
      D[i][j] = D[i][j] * 0.25 + C[i][j];
    }
#pragma end_scop
}
