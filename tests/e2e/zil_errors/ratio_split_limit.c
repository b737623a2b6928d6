// A large tile ratio: the last tiles along j come in 300 shapes, one per
// remainder of M / block_size modulo 300, which the code generator cannot
// separate within its budget. Refused before any tiling.
// stderr: Tiling::apply: statement #0: tile_ratio[1][300] would split a constraint into 301 pieces, more than the limit of 256
// not on stdout:   ZIL...
int N;
int M;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][300]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + 1;
    }
#pragma end_scop
}
