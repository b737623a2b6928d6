// stderr: split_name_declared.c:4: error: 'outer_N' is reserved: the tiled code begins the names of its split sizes and of its lattice and inner counters with outer_ or inner_
// outer_N is also the tile count of N: the output would declare it twice.
int N;
int outer_N;
int A[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < outer_N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j] + i;
    }
#pragma end_scop
}
