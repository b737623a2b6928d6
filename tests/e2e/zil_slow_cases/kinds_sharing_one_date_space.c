// An untiled statement, a general parametric tiling and a constant one in one date space, no
// constant date ahead of __T telling their nests apart: past the budgets of the exact nests and of
// the else schedule (the shapes of the supersets cost the code generator), the box form.
// script: else theta*L else theta*B
// params: N M K
// arrays: A B C D
// block_sizes: 1 2 3 5 8 16 64
// values: 0 0 0 | 2 1 2 | 1 7 1 | 0 2 8 | 5 3 7 | 7 6 6
// warning: kinds_sharing_one_date_space.c:38: warning: statement #1 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: kinds_sharing_one_date_space.c:47: warning: statement #2 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
int K;
int A[21];
int B[11][31];
int C[15][9];
long D[7];
int min(int a, int b) { return a < b ? a : b; }
int max(int a, int b) { return a < b ? b : a; }

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = max(-3, 0); i < min(M - 1, M + 6); i++) {
    for (j = -i; j < min(2 * i + 1, N + i + 2); j++) {
      for (k = max(N - 8, j + 1); k < M; k++) {
#pragma schedule[i][j][k][0]
        A[j + k + 9] = A[j + k + 9] + 3 * i + 11 * j + 1 * k + M + B[k + 4][2 * j + k - K + 15] + B[k + 4][j + 15] + (i > k ? 1 : 2) + min(i, j) + 1;
      }
    }
  }
  for (i = M - 5; i < M; i++) {
    for (j = 2; j < K; j++) {
#pragma tile_group[0]
#pragma tile_ratio[2][1]
#pragma tile_hyperplans[i][2 * i - j]
#pragma schedule[__T][i][__T][j][0]
      A[2 * i + 9] = A[2 * i + 9] + 1 * i + 11 * j + C[j + N + 2][i + 3] + min(i, j) + 1;
    }
  }
  for (i = (2 * N) / 3; i <= K; i++) {
    for (j = 2; j < min(K, N + 2); j++) {
#pragma tile_group[1]
#pragma tile_size[7][1]
#pragma tile_hyperplans[i + 3 * j + 1][j]
#pragma schedule[__T][__T][i][j][1]
      D[j - N + 5] = D[j - N + 5] ^ (7 * i + 3 * j);
    }
  }
#pragma end_scop
}
