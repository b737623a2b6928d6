// The input's own min and max are exactly the minimum and maximum of two
// ints, as loop bounds read them; the tiled code carries them in place of
// its macros, and its statements call them with int operands of every
// operator, with calls of a function returning int (through a typedef) and
// with casts to typedefs of int.
// params: N
// arrays: a b c
// values: 0 | 1 | 7 | 16
typedef int idx_t;
typedef idx_t count_t;
int min(int x, int y) { return x < y ? x : y; }
int max(int x, int y) { return x > y ? x : y; }
int N;
int a[16];
int b[16];
int c[16];
count_t twice(int x) { return 2 * x; }

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < min(N, 16); i++) {
#pragma schedule[i][0]
    a[i] = min(b[i] & 3, 2) + max(c[i] | 1, 0) * 3;
#pragma schedule[i][1]
    c[i] = max(a[i] - 1, b[i] == 2) * min(i ^ 1, N) + min(a[i], b[i]) % 4;
#pragma schedule[i][2]
    b[i] = max(twice(i), 3) + min((idx_t)c[i], 3) * max((count_t)a[i], -2);
  }
#pragma end_scop
}
