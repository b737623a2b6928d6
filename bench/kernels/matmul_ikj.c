// Matrix multiply C = C + A B, loops i, j, k, with its tiles and the loops
// inside them in the order i, k, j: the innermost loop runs along the rows
// of B and C with unit stride, and each C[i][j] still sums along k in
// increasing order.
// params: N
// sizes: 1536
// arrays: A B C
int N;
double A[1536][1536];
double B[1536][1536];
double C[1536][1536];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][1]
#pragma tile_hyperplans[i][k][j]
#pragma schedule[__T][__T][__T][i][k][j]
        C[i][j] = C[i][j] + A[i][k] * B[k][j];
      }
#pragma end_scop
}
