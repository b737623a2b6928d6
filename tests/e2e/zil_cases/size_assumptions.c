// The tiled kernel checks on entry the values the parametric tiling
// assumed: a negative size or a block size below the minimum would give
// other iterations than the original's, so the kernel names the value and
// does nothing. The original runs iterations for a negative N.
// params: N
// arrays: a
// options: -min-block-size 2
// block_sizes: 2 3 8
// values: 0 | 1 | 5 | 17
// broken: 4 -2 => tiled_kernel: N = -2 breaks the assumption N >= 0; nothing done
// broken: 1 5 => tiled_kernel: block_size = 1 breaks the assumption block_size >= 2; nothing done
int N;
int a[24];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N + 4; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    a[i] = a[i] * 2 + i;
  }
#pragma end_scop
}
