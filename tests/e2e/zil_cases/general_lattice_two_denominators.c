// Tiles 0 <= 2i < b, 0 <= 3j - 3i < b on the origins b·(1, 1)/2 and
// b·(0, 1)/3, whose denominators differ: block_size must be a multiple of
// 6. The dependence (0, 1) of (i, j) is (0, 3) in (2i, 3j - 3i), so the
// tiles run in the lexicographic order of their lattice coordinates.
// params: N M
// arrays: B
// block_sizes: 6 12
// values: 0 0 | 1 1 | 0 4 | 2 5 | 5 3 | 7 11 | 13 9 | 16 16
// broken: 4 5 5 => tiled_kernel: block_size = 4 breaks the assumption block_size % 6 == 0; nothing done
// broken: 9 5 5 => tiled_kernel: block_size = 9 breaks the assumption block_size % 6 == 0; nothing done
int N;
int M;
int B[17][17];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 1; j < M; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][1][1][2][3]
#pragma tile_shape[2 * i][block_size - 1 - 2 * i][3 * j - 3 * i][block_size - 1 - 3 * j + 3 * i]
#pragma schedule[__T][__T][i][j]
      B[i][j] = (B[i][j - 1] + 3 * B[i][j] + i) % 1009;
    }
#pragma end_scop
}
