// A rectangular and a general tiling share block_size: "-min-block-size"
// bounds it for both, and the lattice denominators ask for even values.
// options: -min-block-size 4
// params: N
// arrays: A B
// block_sizes: 4 6 8
// values: 0 | 1 | 5 | 11
// broken: 2 5 => tiled_kernel: block_size = 2 breaks the assumption block_size >= 4; nothing done
// broken: 5 5 => tiled_kernel: block_size = 5 breaks the assumption block_size % 2 == 0; nothing done
int N;
int A[12][12];
int B[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i][j] * 2 + i - j;
    }
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[1]
#pragma tile_lattice[1][1][1][-1][2][2]
#pragma tile_shape[i + j][block_size - 1 - i - j][i - j][block_size - 1 - i + j]
#pragma schedule[1][__T][__T][i][j]
      B[i][j] = B[i][j] + A[j][i] * 3;
    }
#pragma end_scop
}
