// stderr: lattice_offsets_other_dates.c:17: error: statement #0: statement #1 shares the tile loops of a lattice with denominators, but not its dates of the dimensions with offsets: the offset dates order the tiles as the dates would only between equal dates
// The pairs (outer, offset) and (outer + 1, offset) order the tiles as
// 2 * outer + offset and 2 * outer + offset + 2 would, not + 1: A at
// __T = 3 would run before B at __T = 1, dated 2.
int N;
int A[24];
int B[24];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1][2]
#pragma tile_shape[2 * i][block_size - 1 - 2 * i]
#pragma schedule[__T][0][i]
    A[i + 1] = (A[i] * 3 + i) % 1009;
#pragma tile_group[1]
#pragma tile_lattice[1][2]
#pragma tile_shape[2 * i][block_size - 1 - 2 * i]
#pragma schedule[__T + 1][1][i]
    B[i] = B[i] + A[i];
  }
#pragma end_scop
}
