// In-place 1-D relaxation over time, tiled along the skewed hyperplanes t
// and t+i (the dependence (1,-1) forbids rectangular tiles in t and i).
// params: T N
// arrays: A
// values: 0 0 | 1 3 | 2 5 | 3 8 | 7 13 | 9 30
int T;
int N;
int A[30];

void kernel() {
  int t, i;
#pragma begin_scop
  for (t = 0; t < T; t++)
    for (i = 1; i < N - 1; i++) {
#pragma tile_group[0]
#pragma tile_size[2][4]
#pragma tile_hyperplans[t][t + i]
#pragma schedule[__T][__T][t][i]
      A[i] = (A[i - 1] + A[i] + A[i + 1]) % 1013;
    }
#pragma end_scop
}
