// Comments everywhere, macros in bounds, declarations and pragma arguments.
#include <stdio.h> // line comment after an include
#define N /* size */ 64 // and a trailing comment
#define TS 16   /* tile size */
#define LAST (N - 1)

/* a block comment
   over several lines */
double A[N][N]; /* the array */
int i, /* between declarators */ j;

void comm(void) /* before the body */
{
#pragma begin_scop /* start */
  for (i = 0; /* test */ i < N; i++) // loop
    for (j = 0; j <= LAST; j++) {
#pragma tile_group[0] // the group
#pragma tile_size[TS][TS] /* sizes: */
#pragma tile_hyperplans[i] /* inner */ [i + j]
#pragma schedule[i][i + j][0]
      A[i][j] = A[i][j] /* old */ * 2 // doubled
        + 1;
    }
#pragma end_scop
  /* trailing comment in the block */
}
// the end
