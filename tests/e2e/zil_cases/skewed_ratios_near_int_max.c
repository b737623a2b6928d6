// Rectangular tiles along the skewed [i + j][j] of a loop that starts at the
// sum of two parameters near INT_MAX or INT_MIN, whose difference is small.
// params: N K
// arrays: A B
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// values: 5 -2147483640 | 2147483000 -2147483647 | 1073741821 1073741817 | 1 -1073741825 | 2 2147483000 | 5 7 | 4 7 | 1 7 | -1073741824 -2147483647 | -2147483640 5
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
// refusals: checked
// original_prelude: #define min(x, y) ((x) < (y) ? (x) : (y))
int N;
int K;
int A[5][6];
int B[6];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = -2; i < min(N, 4); i++) {
    for (j = K + N; j < K + N + 5; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i + j][j]
#pragma schedule[0][__T][__T][i][j][0]
      A[j - K - N][i + 2] = A[j - K - N][i + 2] + 3 * (i + 2) + 11 * (j - K - N) + B[j - K - N + 1] + 1;
    }
  }
#pragma end_scop
}
