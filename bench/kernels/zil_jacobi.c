// One 5-point Jacobi sweep over two arrays, both statements tiled
// rectangularly along i and j; the caller repeats it for the time steps.
int N;
double A[1024][1024];
double B[1024][1024];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 1; i < N - 1; i++)
    for (j = 1; j < N - 1; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      B[i][j] = 0.2 * (A[i][j] + A[i - 1][j] + A[i + 1][j] + A[i][j - 1] + A[i][j + 1]);
    }
  for (i = 1; i < N - 1; i++)
    for (j = 1; j < N - 1; j++) {
#pragma tile_group[1]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][__T][i][j]
      A[i][j] = B[i][j];
    }
#pragma end_scop
}
