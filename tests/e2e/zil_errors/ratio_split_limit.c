// A tile ratio too large even for the last mode of code generation: the
// tiling library makes every one of the 5001 pieces of the bound of j
// first, work that grows with their square. Refused before any tiling.
// stderr: Tiling::apply: statement #0: tile_ratio[1][5000] would split a constraint into 5001 pieces, more than the limit of 4096 that even the last mode of code generation takes; use smaller tile ratios or lattice entries
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
#pragma tile_ratio[1][5000]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + 1;
    }
#pragma end_scop
}
