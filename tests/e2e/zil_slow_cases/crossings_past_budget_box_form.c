// Two 3-D rectangular tilings along skewed hyperplanes of loops near
// INT_MAX, each past the budget of its crossing: the code generator's nest
// for their supersets exceeds its budget, and their boxes, the else
// schedule and the box form, run them instead of a refusal.
// params: N
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
// refusals: checked
// arrays: A B
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// values: 1 | 7 | 3 | 4 | 0
// warning: crossings_past_budget_box_form.c:27: warning: statement #0 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: crossings_past_budget_box_form.c:32: warning: statement #1 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int A[7][8];
int B[2][8];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = 2147483600 - N; i < 2147483600; i++) {
    for (j = 2147483646 - N; j < 2147483646; j++) {
      for (k = 2147483646 - N; k < 2147483646; k++) {
#pragma tile_group[0]
#pragma tile_ratio[2][1][2]
#pragma tile_hyperplans[i][i + j][k + N - 1]
#pragma schedule[0][__T][__T][__T][i][j][j + k][0]
        A[j - 2147483646 + N][k - 2147483646 + N + 1] = A[j - 2147483646 + N][k - 2147483646 + N + 1] + (i - 2147483600 + N) + 3 * (j - 2147483646 + N) + (k - 2147483646 + N) + 1;
#pragma tile_group[1]
#pragma tile_ratio[1][3][1]
#pragma tile_hyperplans[i - 2 * j - k][j + k][2 * j + k]
#pragma schedule[0][__T][__T][1][__T][i][j][k][1]
        B[1][k - 2147483646 + N + 1] = B[1][k - 2147483646 + N + 1] ^ (7 * (i - 2147483600 + N) + (j - 2147483646 + N) + 11 * (k - 2147483646 + N) + N % 1000);
      }
    }
  }
#pragma end_scop
}
