// The input's own min and max, called in a statement with arguments that
// print: the tiled code calls these functions, in its statements as in its
// loop bounds, so that each argument runs once per instance as in the
// original (a macro would run the one it returns twice).
// params: N
// arrays: a
// values: 0 | 1 | 3 | 9
#include <stdio.h>
int min(int x, int y) { return x < y ? x : y; }
int max(int x, int y) { return x > y ? x : y; }
int N;
int a[9];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < min(N, 9); i++) {
#pragma schedule[i]
    a[i] = min((int)printf("%d;", i), 5) + max((int)printf("%d,", a[i]), -1);
  }
#pragma end_scop
}
