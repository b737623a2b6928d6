// stderr: ZILWrapper::get_general_tiled_domain: the lattice must be invertible
int N;
int A[10][10];
void kernel() {
  int i, j;
#pragma begin_scop
for (i = 0; i < N; i++) for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][1][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[__T][__T][i][j]
  A[i][j] = 0;
}
#pragma end_scop
}
