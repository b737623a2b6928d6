// Object-like macros in declarations, bounds, directives and right-hand
// sides; blanks in a pragma.
// params: N
// arrays: A B
// values: 0 | 1 | 5 | 16
#define SIZE 16
#define ALPHA 3
#define OFF (2)
int N;
static int A[SIZE][SIZE];
int B[SIZE + OFF];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < SIZE - OFF; j++) {
#pragma tile_group[0]
#pragma tile_size[4][ALPHA]
#pragma tile_hyperplans[i][j]
#pragma  schedule[__T][__T][i][j]
      A[i][j] = A[i][j] * ALPHA + B[j + OFF] - SIZE;
    }
#pragma end_scop
}
