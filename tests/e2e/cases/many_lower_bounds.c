// A square cut by 6 lower bounds on j, one per parameter, under constant
// tiles: the nest bounds its loops by the max of up to 13 terms, nested
// calls that must compile as written, each argument evaluated once.
// params: N P0 P1 P2 P3 P4 P5
// arrays: A
// values: 6 0 1 2 3 0 1 | 8 -2 1 4 0 3 -1 | 9 0 -1 -2 -3 -4 -5
int N;
int P0;
int P1;
int P2;
int P3;
int P4;
int P5;
double A[64][64];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      if (j >= P0 - 1 * i && j >= P1 - 2 * i && j >= P2 - 3 * i && j >= P3 - 4 * i && j >= P4 - 5 * i && j >= P5 - 6 * i) {
#pragma tile_group[0]
#pragma tile_size[2][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
        A[i][j] = A[i][j] + i + 2 * j;
      }
#pragma end_scop
}
