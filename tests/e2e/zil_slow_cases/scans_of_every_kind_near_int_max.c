// Constant tilings, a rectangular tiling and an untiled statement sharing
// loops whose dates lie far apart near INT_MAX and INT_MIN: the statements
// that scan supersets in the last mode share their loops with the others,
// which get clamped by the ranges of every statement's counters and jump
// between their far apart spans, at every block size up to 2^30.
// params: N M
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
// refusals: checked
// arrays: A B C D E F G
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// values: 2147483000 1 | 1073741825 2 | 2147483000 3 | 1 5 | 3 1 | 5 7 | 7 7 | 3 0
// warning: scans_of_every_kind_near_int_max.c:33: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: scans_of_every_kind_near_int_max.c:43: warning: statement #2 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
long A[2];
int B[8];
long C[7];
double D[5][6];
int E[7];
int F[6];
long G[9];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = 2147483646 - M; i < 2147483646; i++) {
    for (j = N + M; j < N + M + 5; j++) {
#pragma tile_group[0]
#pragma tile_size[4][3]
#pragma tile_hyperplans[-i][j]
#pragma schedule[__T][__T][i][j][0]
      A[1] = A[1] + 13 * (i - 2147483646 + M) + 13 * (j - N - M) + B[j - N - M - 1 + 1] + B[i - 2147483646 + M + 1] + 1;
#pragma tile_group[1]
#pragma tile_size[2]
#pragma tile_hyperplans[j]
#pragma schedule[__T][i][j][1]
      C[i - 2147483646 + M] = C[i - 2147483646 + M] + (i - 2147483646 + M) + (j - N - M) + B[j - N - M + 1] + (int)(D[j - N - M - 1 + 1][j - N - M + 1] * 7) + 1;
#pragma tile_group[2]
#pragma tile_ratio[3][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][i + j][2]
      E[i - 2147483646 + M] = E[i - 2147483646 + M] ^ (7 * (i - 2147483646 + M) + 3 * (j - N - M) + M % 7 + F[j - N - M + 1]);
#pragma schedule[i][j][3]
      G[i - 2147483646 + M + j - N - M] = G[i - 2147483646 + M + j - N - M] * 3 + j - N - M + 1;
    }
  }
#pragma end_scop
}
