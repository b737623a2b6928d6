// Tiled dates that compute with __T, which stands for the tile counter in
// them: tiles numbered against the loop (hyperplane -i, lattice -1, with
// and without a denominator) run in increasing order of the loop counter
// under the dates -__T, N - __T and N - 2 * __T, as C runs the chains of
// A, C, D and E; and tiles dated __T + 1 run after the untiled statement
// dated k = __T + 1 (statements at [4]), so that every tile reads B[1]
// once written.
// params: N
// arrays: A B C D E F G H
// block_sizes: 2 4 6
// values: 0 | 1 | 2 | 3 | 5 | 9 | 17 | 20
int N;
int A[24];
int B[24];
int C[24];
int D[24];
int E[24];
int F[24];
int G[24];
int H[24];

void kernel() {
  int i, k;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[-i]
#pragma schedule[0][-__T][i]
    A[i + 1] = (A[i] * 3 + i) % 1009;
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_ratio[1]
#pragma tile_hyperplans[-i]
#pragma schedule[1][N - __T][i]
    C[i + 1] = (C[i] * 3 + i) % 1009;
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[2]
#pragma tile_lattice[-1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[2][-__T][i]
    D[i + 1] = (D[i] * 3 + i) % 1009;
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[3]
#pragma tile_lattice[-1][2]
#pragma tile_shape[2 * i][block_size - 1 - 2 * i]
#pragma schedule[3][N - 2 * __T][i]
    E[i + 1] = (E[i] * 3 + i) % 1009;
  }
  for (k = 0; k < N; k++) {
#pragma schedule[4][k][0][0]
    B[k] = B[k] * 2 + k;
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[4]
#pragma tile_size[3]
#pragma tile_hyperplans[i]
#pragma schedule[4][__T + 1][1][i]
    F[i] = F[i] + B[1];
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[5]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[4][__T + 1][2][i]
    G[i] = G[i] + B[1];
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[6]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[4][__T + 1][3][i]
    H[i] = H[i] + B[1];
  }
#pragma end_scop
}
