// Diamond tiles on a 1-D Jacobi over time: the hyperplanes t + i and t - i
// bound every tile, and the tile origins b·(1, 1)/2 and b·(1, -1)/2 need
// an even block size. Every dependence distance (1, -1), (1, 0), (1, 1) of
// (t, i) is non-negative in (t + i, t - i), so the tiles run in the
// lexicographic order of their lattice coordinates.
// params: N T
// arrays: A
// block_sizes: 2 4 6 8 10 12 14 16
// values: 0 0 | 1 1 | 0 5 | 5 0 | 3 2 | 7 5 | 13 9 | 24 16 | 31 17
// broken: 3 7 5 => tiled_kernel: block_size = 3 breaks the assumption block_size % 2 == 0; nothing done
int N;
int T;
int A[18][33];

void kernel() {
  int t, i;
#pragma begin_scop
  for (t = 0; t < T; t++)
    for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][1][-1][2][2]
#pragma tile_shape[t + i][block_size - 1 - t - i][t - i][block_size - 1 - t + i]
#pragma schedule[__T][__T][t][i]
      A[t + 1][i + 1] = (A[t][i] + 2 * A[t][i + 1] + A[t][i + 2]) % 1009;
    }
#pragma end_scop
}
