// Loop counters declared long and short: the tiled loops count in int, and
// the statements read the counters back in their declared types, so that
// i * 1000000000 is still computed in long.
// params: N
// arrays: A B
// values: 0 | 1 | 5 | 8 | 10
int N;
double A[10][10];
long B[10];

void kernel() {
  long i;
  short j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < (long)N; j++) {
#pragma tile_group[0]
#pragma tile_size[3][4]
#pragma tile_hyperplans[i + j][j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i][j] + i * 1000000000 + j * 1000 * i;
    }
  for (i = 0; i < N; i++) {
#pragma schedule[1][i][0][0][0]
    B[i] = i * 3000000000 - i;
  }
#pragma end_scop
}
