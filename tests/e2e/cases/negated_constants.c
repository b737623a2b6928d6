// A negative constant subtracted (i - -1) in subscripts and bounds: the
// statement macros must not write it as a decrement.
// params: N
// arrays: a b
// values: 0 | 1 | 4 | 9
int N;
int a[16];
int b[16];

void kernel() {
  int i;
#pragma begin_scop
  for (i = -1; i < N - -1; i++) {
#pragma tile_group[0]
#pragma tile_size[3]
#pragma tile_hyperplans[i - -1]
#pragma schedule[__T][i]
    a[i - -1] = a[i - -1] + b[i - -2] - -1;
  }
#pragma end_scop
}
