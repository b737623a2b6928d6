// Denominators of 64 along both lattice columns: every one of the 4096
// lattice offsets has pieces of its own, which the tiling library makes
// and even the last mode of code generation hulls apart. Refused before
// any tiling.
// stderr: Tiling::apply: statement #0: tile_lattice[1][0][0][1][64][64] has 4096 lattice offsets, each with pieces of its own, more than the limit of 2000 that even the last mode of code generation takes; use smaller denominators
// not on stdout:   ZIL...
int N;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1][64][64]
#pragma tile_shape[64 * i][block_size - 1 - 64 * i][64 * j][block_size - 1 - 64 * j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + 1;
    }
#pragma end_scop
}
