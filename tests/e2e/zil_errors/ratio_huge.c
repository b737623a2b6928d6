// stderr: Tiling::apply: statement #0: tile_ratio[1][1073741824] would split a constraint into 1073741825 pieces, more than the limit of 4096 that even the last mode of code generation takes; use smaller tile ratios or lattice entries
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
#pragma tile_ratio[1][1073741824]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + 1;
    }
#pragma end_scop
}
