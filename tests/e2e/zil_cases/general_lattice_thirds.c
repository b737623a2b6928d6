// Parallelograms 0 <= i + j < b, 0 <= i - 2j < b on the skewed lattice of
// origins b·(2, 1)/3 and b·(1, -1)/3: block_size must be a multiple of 3.
// The dependence (1, 0) of (i, j) is (1, 1) in (i + j, i - 2j), so the
// tiles run in the lexicographic order of their lattice coordinates.
// params: N M
// arrays: A
// block_sizes: 3 6 9 12 15
// values: 0 0 | 1 1 | 0 4 | 2 5 | 5 3 | 7 11 | 13 9 | 16 16
// broken: 4 5 5 => tiled_kernel: block_size = 4 breaks the assumption block_size % 3 == 0; nothing done
int N;
int M;
int A[17][17];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_lattice[2][1][1][-1][3][3]
#pragma tile_shape[i + j][block_size - 1 - i - j][i - 2 * j][block_size - 1 - i + 2 * j]
#pragma schedule[__T][__T][i][j]
      A[i + 1][j] = (2 * A[i][j] + A[i + 1][j] + j) % 1009;
    }
#pragma end_scop
}
