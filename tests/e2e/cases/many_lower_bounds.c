// A square cut by 16 lower bounds on j, one per parameter, under constant
// tiles: the nest bounds its loops by the max of up to 33 terms, nested
// calls that must compile as written, each argument evaluated once.
// params: N P0 P1 P2 P3 P4 P5 P6 P7 P8 P9 P10 P11 P12 P13 P14 P15
// arrays: A
// values: 6 0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3 | 8 -2 1 4 0 3 -1 2 -2 1 4 0 3 -1 2 -2 1 | 9 0 -1 -2 -3 -4 -5 -6 -7 -8 -9 -10 -11 -12 -13 -14 -15
int N;
int P0;
int P1;
int P2;
int P3;
int P4;
int P5;
int P6;
int P7;
int P8;
int P9;
int P10;
int P11;
int P12;
int P13;
int P14;
int P15;
double A[64][64];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      if (j >= P0 - 1 * i && j >= P1 - 2 * i && j >= P2 - 3 * i && j >= P3 - 4 * i && j >= P4 - 5 * i && j >= P5 - 6 * i && j >= P6 - 7 * i && j >= P7 - 8 * i && j >= P8 - 9 * i && j >= P9 - 10 * i && j >= P10 - 11 * i && j >= P11 - 12 * i && j >= P12 - 13 * i && j >= P13 - 14 * i && j >= P14 - 15 * i && j >= P15 - 16 * i) {
#pragma tile_group[0]
#pragma tile_size[2][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
        A[i][j] = A[i][j] + i + 2 * j;
      }
#pragma end_scop
}
