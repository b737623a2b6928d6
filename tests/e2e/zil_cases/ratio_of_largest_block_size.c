// A tile ratio of 2 with block sizes up to 2^30: the tile's side, twice the
// block size, leaves int.
// params: N
// arrays: a
// block_sizes: 1 2 3 1073741823 1073741824
// values: 0 | 1 | 2 | 5 | 9
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
int N;
int a[9];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    a[i] = a[i] * 5 + i;
  }
#pragma end_scop
}
