// Comments, blank lines, tabs, CRLF line ends, continued lines, macros and a declaration around the directives.
// params: N
// arrays: A B
// values: 0 | 1 | 3 | 6 | 10
#define TS 3
#define HALF 2
#define GROUP 0
int N;  /* size */
int A[10][10]; // first
int B[10];

void kernel() {
	int i, j;	/* counters */

#pragma begin_scop   /* the part starts */
	// a comment before the loop
	for (i = 0; i < N; i++) /* trailing */ {

		for (j = 0; j < N; j++) {
			/* block comment
			   over lines */
#pragma	tile_group[GROUP]	// group
#pragma tile_size[TS][HALF]  /* sizes */
#pragma   tile_hyperplans[ i ][ j ]
#pragma schedule[0][__T] [__T][i][j]
			A[i][j] = A[i][j] /* inline */ + j * TS;	// trailing
		}
		// between
#pragma schedule[TS][i]   
		double unused;	// a declaration between a directive and its statement
		B[i] = B[i] * 2 + \
			A[i][0];
	}
#pragma end_scop	// done
}
