// if conditions: a triangle with its else branch, 2*i < N, and min/max
// loop bounds, under constant tiling.
// params: N
// arrays: U L H W
// values: 0 | 1 | 2 | 3 | 4 | 7 | 12
int N;
int U[12][12];
int L[12][12];
int H[12];
int W[12][12];

int min(int a, int b) { return a < b ? a : b; }
int max(int a, int b) { return a < b ? b : a; }

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
      if (i <= j) {
#pragma tile_group[0]
#pragma tile_size[3][3]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
        U[i][j] = U[i][j] * 2 + i;
      } else {
#pragma schedule[1][i][j][0][0]
        L[i][j] = L[i][j] + 3 * j;
      }
    }
  for (i = 0; i < N; i++) {
    if (2 * i < N) {
#pragma schedule[2][i][0][0][0]
      H[i] = H[i] + 5;
    }
  }
  for (i = 0; i < N; i++)
    for (k = max(0, i - 2); k < min(N, i + 3); k++) {
#pragma tile_group[1]
#pragma tile_size[2][2]
#pragma tile_hyperplans[i][k]
#pragma schedule[3][__T][__T][i][k]
      W[i][k] = W[i][k] + 1;
    }
#pragma end_scop
}
