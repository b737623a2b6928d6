// The names the tiled code makes up, against one another and against the
// input's, under the three kinds of tiling at once. The constant of k < 3
// becomes a hidden parameter whose value 2 is also the number of a lattice
// counter (outer_2); the sizes and counters are named like parts of
// generated names (time_ splits into outer_time_ beside the counters
// outer_time_0, the counter outer gets the inner counter inner_outer, the
// counter tile_counter sits beside tile_counter_0), and the statements read
// globals named like a statement macro, an iterator of the code generator
// and an image counter of the tiling.
// params: N time_ _0
// arrays: A B C S1 c0 t___0
// block_sizes: 1 2 3
// values: 1 3 1 | 4 2 3 | 0 1 1 | 5 3 2
int N, time_, _0;
int A[5][6][3];
int B[8][8];
int C[6][6];
int S1, c0, t___0;

void kernel() {
  int i, j, k, outer, tile_counter;
#pragma begin_scop
  for (outer = 0; outer < N; outer++)
    for (j = 0; j < time_ + 1; j++)
      for (k = 0; k < 3; k++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][0][1][0][0][0][1]
#pragma tile_shape[outer][block_size - 1 - outer][j][block_size - 1 - j][k][block_size - 1 - k]
#pragma schedule[0][__T][__T][__T][outer][j][k]
        A[outer][j][k] = A[outer][j][k] * 2 + outer + 3 * j + 5 * k + S1;
      }
  for (i = 2; i < N + 3; i++)
    for (tile_counter = 0; tile_counter < _0 + time_; tile_counter++) {
#pragma tile_group[1]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][tile_counter]
#pragma schedule[1][__T][__T][i][tile_counter]
      B[i][tile_counter] = B[i - 1][tile_counter] * 3 + c0 + t___0 + tile_counter;
    }
  for (i = 0; i < N + 1; i++)
    for (j = i; j < time_ + 2; j++) {
#pragma tile_group[2]
#pragma tile_size[2][3]
#pragma tile_hyperplans[i][j]
#pragma schedule[2][__T][__T][i][j]
      C[i][j] = C[i][j] * 2 + i * j + _0;
    }
#pragma end_scop
}
