// stderr: Preprocessor::extract_tiling: statement #0: incorrect tile lattice definition
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1][2]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[__T][i][j]
    a[i] = 0;
  }
#pragma end_scop
}
