// Globals named like the loop iterators of the generated nest (c0, c1,
// c2, c3): the macros must still read the globals, not the loops' counters.
// params: N
// arrays: A c0 c1 c2 c3
// values: 0 | 1 | 2 | 3 | 5 | 8 | 12
int N;
int A[12][12];
int c0;
int c1;
int c2[12];
int c3;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 1; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[3][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = (c0 * A[i - 1][j] + c1 * A[i][j - 1] + c2[j] + c3) % 1009;
    }
  for (i = 0; i < N; i++) {
#pragma schedule[1][i][0][0][0]
    c2[i] = c2[i] * c1 + c0;
  }
#pragma schedule[2][0][0][0][0]
  c3 = c3 + c0 * c1;
#pragma end_scop
}
