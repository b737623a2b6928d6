// Rectangular tiles along hyperplanes with a parameter: the macro rebuilds
// i as 3 * (tile counter) - 2 * (tile counter) - 3 * N and j with -N,
// multiples of N that the original never forms and that leave int for N
// near 2^30; a negative N is refused at run time.
// params: N
// arrays: A
// block_sizes: 1 2 5 64
// values: 0 | 7 | 1073741824 | 2147483647 | -2147483647
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
// refusals: checked
int N;
long A[16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 2147483600; i < 2147483605; i++)
    for (j = 0; j < 3; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i - 2 * j + N][i - 3 * j]
#pragma schedule[__T][__T][i][j]
      A[i - 2147483600 + 5 * j] = A[i - 2147483600 + 5 * j] * 3 + i - 2147483600 + j;
    }
#pragma end_scop
}
