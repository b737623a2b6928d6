// A constant hyperplane in the last statement is refused before the first
// statement is tiled.
// stderr: Matrix::left_inverse: There is no integer left-inverse for this function in the given context.
// not on stdout:   ZIL...
int N;
int a[10][10];
int b[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      a[i][j] = 0;
    }
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[1]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][5]
#pragma schedule[1][__T][__T][i][j]
      b[i][j] = a[i][j];
    }
#pragma end_scop
}
