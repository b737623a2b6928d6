// Matrix multiply under rectangular parametric (ZIL) tiling: the tiles are
// 2*block_size x block_size x block_size along i, k and j, block_size is
// chosen when the tiled code runs. The tiles and the loops inside them run
// in the order i, k, j: the innermost loop walks along the rows of B and C
// with unit stride, which the compiler can vectorise, and each C[i][j]
// still sums along k in increasing order.
//
// tarvex zil_matmul.c writes zil_matmul.tiled.cc. block_size is not
// declared there: compile with -Dblock_size=32, or declare
// "int block_size = 32;" ahead of the included file. Set N and block_size
// (block_size >= 1, N >= 0), then call tiled_kernel().
// params: N
// arrays: A B C
// block_sizes: 1 2 3 4 8 16 40
// values: 0 | 1 | 5 | 16 | 35 | 40
int N;
double A[40][40];
double B[40][40];
double C[40][40];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_ratio[2][1][1]
#pragma tile_hyperplans[i][k][j]
#pragma schedule[__T][__T][__T][i][k][j]
        C[i][j] = C[i][j] + A[i][k] * B[k][j];
      }
#pragma end_scop
}
