// A rectangular tiling along [-i - 1] beside a constant tiling along [-i],
// over a loop that starts near INT_MAX.
// params: M K
// arrays: A B
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// values: -1073741824 1 | -1073741825 2147483646 | -2147483640 2 | 2147483642 -2147483637 | 2147483643 2147483638 | 2 1 | 4 2147483640 | 3 4
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
int M;
int K;
int A[3];
long B[3];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = 2147483000; i < 2147483000 + 3; i++) {
#pragma tile_group[0]
#pragma tile_ratio[2]
#pragma tile_hyperplans[-i - 1]
#pragma schedule[1][__T][i]
    A[i - 2147483000] = A[i - 2147483000] + 11 * (i - 2147483000) + 1;
#pragma tile_group[1]
#pragma tile_size[5]
#pragma tile_hyperplans[-i]
#pragma schedule[2][__T][i]
    B[i - 2147483000] = B[i - 2147483000] ^ (13 * (i - 2147483000) + M % 13);
  }
#pragma end_scop
}
