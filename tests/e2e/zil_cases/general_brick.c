// General ZIL: 2b x b bricks on the lattice with columns (2, 1), (0, 1)
// (bricks of neighbouring columns shifted by b along j), and parallelograms
// 0 <= j - i < b on columns (1, 0), (1, 1); no dependence.
// params: N M
// arrays: A cnt
// block_sizes: 1 2 3 4 5 8
// values: 0 0 | 1 1 | 3 2 | 5 7 | 9 4 | 12 12 | 12 1
int N;
int M;
int A[12][12];
int cnt[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_lattice[2][0][1][1]
#pragma tile_shape[i][2 * block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[0][__T][__T][i][j]
      cnt[i][j] = cnt[i][j] + 1 + i * 100 + j;
    }
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[1]
#pragma tile_lattice[1][1][0][1]
#pragma tile_shape[i][block_size - 1 - i][j - i][block_size - 1 - j + i]
#pragma schedule[1][__T][__T][i][j]
      A[i][j] = A[i][j] * 3 + i - 2 * j;
    }
#pragma end_scop
}
