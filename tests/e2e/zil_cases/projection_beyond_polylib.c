// Loops near INT_MIN projected by PolyLib overflow its 64-bit values: isl
// projects them instead. Block sizes up to 2^30: the tiled nest computes in
// long long, so twice the block size does not overflow.
// params: N M K
// arrays: A B
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// refusals: checked
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
// values: 2147483000 -1073741825 1073741824 | -1073741828 -1073741828 -1073741828 | 5 4 2147483000 | 2147483000 2147483646 -2147483648 | -2147483000 -2147483640 -1073741825 | 4 2 1 | 2147483646 2147483000 -1073741824 | 1073741823 1073741822 1073741822 | -1073741825 -2147483647 -2147483645
int N;
int M;
int K;
int A[3];
int B[3];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = -2147483640; i < -2147483640 + 3; i++) {
    for (j = -2147483647; j < -2147483647 + 6; j++) {
      if (j < M) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[-j][i]
#pragma schedule[__T][__T][i][j][0]
        A[i + 2147483640] = A[i + 2147483640] + 7 * (i + 2147483640) + 13 * (j + 2147483647) + B[i + 2147483640] + 1;
      }
    }
  }
#pragma end_scop
}
