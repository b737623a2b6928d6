/* CRLF line endings and spliced lines. */
#define N \
  100
#define SUM(x) x
double A[N]; int i, \
  k;
void crlf(void)
{
#pragma begin_scop
  for (i = 0; i < N; \
       i++) {
#pragma tile_group[0]
#pragma tile_size[8]
#pragma tile_hyperplans[i]
#pragma schedule[i][0]
    A[i] = A[i] * \
2;
  }
#pragma end_scop
  k = i++ + --i;
}
