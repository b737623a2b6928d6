// stderr: tile_date_not_affine.c:14: error: statement #0: the tiled date '__T*N' is not affine in __T with a non-zero coefficient
// __T stands for the tile counter in its date, which must stay affine.
int N;
int A[24];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T * N][i]
    A[i + 1] = (A[i] * 3 + i) % 1009;
  }
#pragma end_scop
}
