// Both statements share their tile loops, but only the first lattice has
// denominators: its offset dates would be compared with the second
// statement's later dates.
// stderr: Tiling::apply: statement #0: statement #1 shares the tile loops of a lattice with denominators, but not its tiled dimensions and denominators
int N;
int a[10][10];
int b[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][1][-1][2][2]
#pragma tile_shape[i + j][block_size - 1 - i - j][i - j][block_size - 1 - i + j]
#pragma schedule[0][__T][__T][0][i][j]
      a[i][j] = 0;
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[0][__T][__T][1][i][j]
      b[i][j] = 1;
    }
#pragma end_scop
}
