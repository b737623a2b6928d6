// stderr: hyperplane_beyond_int_rows.c:18: error: the value -6442450930 is too large for the bounds and conditions on this line: the constraint rows hold int values only
// The hyperplane 2 * i + j of a loop near INT_MAX takes values near 6.4e9,
// beyond the int rows of the model: PolyLib overflows on them, and isl, which
// projects in its stead, gives rows that an int does not hold. Refused at
// the statement's line, not with a message of neither file nor line.
int N;
long W0[1][3];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 2147483643; i <= 2147483643; i++) {
    for (j = i + 1; j < i + 4; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[2 * i + j][-i]
#pragma schedule[__T][__T][i][j]
      W0[i - 2147483643][j - i - 1] = W0[i - 2147483643][j - i - 1] * 5 + N;
    }
  }
#pragma end_scop
}
