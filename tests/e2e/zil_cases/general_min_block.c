// "-min-block-size" bounds the block size of the rectangular tilings only:
// a program whose tilings are all general runs with every multiple of its
// lattice denominators, those below the value given too. Diamonds
// 0 <= i + j < b, 0 <= i - j < b on the origins b·(1, 1)/2, b·(1, -1)/2.
// options: -min-block-size 8
// params: N
// arrays: A
// block_sizes: 2 4 6 8 10
// values: 0 | 1 | 2 | 5 | 9 | 16
// broken: 3 5 => tiled_kernel: block_size = 3 breaks the assumption block_size % 2 == 0; nothing done
int N;
int A[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][1][-1][2][2]
#pragma tile_shape[i + j][block_size - 1 - i - j][i - j][block_size - 1 - i + j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j] * 3 + i - j;
    }
#pragma end_scop
}
