// With -aligned-parameters the tiled kernel also checks that every size of
// a rectangular tiling is a multiple of block_size.
// params: N M
// arrays: a
// options: -aligned-parameters
// block_sizes: 1 2 4
// values: 0 0 | 4 8 | 8 4
// broken: 4 6 8 => tiled_kernel: N = 6 breaks the assumption N % block_size == 0; nothing done
// broken: 2 4 -2 => tiled_kernel: M = -2 breaks the assumption M >= 0; nothing done
int N;
int M;
int a[8][8];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + i * j;
    }
#pragma end_scop
}
