// Rectangular tiles of ratios 1 and 2 over a loop that ends at INT_MAX: the
// tile counters of j reach 2^30, and the nest's conditions double them and
// add the splits of N and of the loop's constants; any int overflow stops
// the run.
// params: N
// arrays: A
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// values: 7 | 1 | 0 | 2 | 5
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
int N;
int A[3][8];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < 3; i++)
    for (j = 2147483647 - N; j < 2147483647; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j - 2147483647 + N] = A[i][j - 2147483647 + N] * 3 + 7 * i + (j - 2147483647 + N) + 1;
    }
#pragma end_scop
}
