// Two rectangular tilings along skewed hyperplanes of loops that start at
// sums of parameters near INT_MAX share the loops of their last-mode scans:
// each loop is clamped through the ranges of the tile and point counters
// that vary beneath it and of the conditions that lead to each call, so
// that a few instances take milliseconds at every block size.
// params: N M K
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
// refusals: checked
// arrays: A B C D E
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// values: 2147483000 -2147483645 1073741823 | 7 3 2147483647 | 1073741823 5 1 | 1073741820 1073741819 1073741824 | -1073741822 -1073741826 -1073741823 | 4 5 3 | 1073741819 1073741817 1073741817 | -2147483647 2147483000 -2147483647
// warning: skewed_ratios_sharing_scans.c:33: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: skewed_ratios_sharing_scans.c:38: warning: statement #1 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
int K;
int A[2];
double B[3];
int C[3];
int D[3];
int E[2][2];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = M + N; i < M + N + 3; i++) {
    for (j = i; j <= i + 1; j++) {
      for (k = 1073741824; k < 1073741824 + 3; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2][1]
#pragma tile_hyperplans[j][j + k][i]
#pragma schedule[0][__T][__T][__T][i][j][k][0]
        A[1] = A[1] ^ ((i - M - N) + (j - i) + 11 * (k - 1073741824) + N % 7 + (int)(B[k - 1073741824] * 7) + C[j - i + 1]);
#pragma tile_group[1]
#pragma tile_ratio[2][1][1]
#pragma tile_hyperplans[i + k][j + 2][i]
#pragma schedule[0][__T][__T][__T][i][j][k][1]
        D[k - 1073741824] = D[k - 1073741824] + 3 * (i - M - N) + 3 * (j - i) + 3 * (k - 1073741824) + K % 1000 + E[j - i - 1 + 1][j - i] + 1;
      }
    }
  }
#pragma end_scop
}
