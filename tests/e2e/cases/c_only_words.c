// C words that C++ lacks or reads otherwise, in declarations the tiled code
// hoists and in a statement's cast: restrict is dropped, register too, and
// _Bool is written bool; string literals keep these words. A const defined
// without initialiser (zero in C, refused by C++) loses its const.
// params: n
// arrays: A_data x flags
// values: 0 | 1 | 5 | 12
// original_decls: int n;
// driver_decls: double A_data[12];
// call: kernel(n, A_data)
// tiled_call: (p = A_data, tiled_kernel())
double x[12];
int flags[12];
const int zero;
typedef double *restrict vector;

void kernel(int n, double *restrict p) {
  register int i;
  vector q;
  _Bool seen;
  char tag[] = "register restrict";
#pragma begin_scop
  for (i = 0; i < n; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    p[i] = p[i] * 2 + x[i] + (_Bool)flags[i] + tag[3] - tag[10] + zero;
  }
#pragma end_scop
}
