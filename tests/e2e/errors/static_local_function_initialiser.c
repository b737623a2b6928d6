// stderr: static_local_function_initialiser.c:12: error: the tiled code initialises the static local size once, at file scope, where its initialiser may name only variables declared ahead of it: static long size = sizeof(twice(1));
// C initialises size once; the part changes it from call to call. The
// tiled code declares the variables ahead of the functions it carries, so
// an initialiser naming a function has no place at file scope.
int N;
int a[20];

int twice(int x) { return 2 * x; }

void kernel() {
  int i;
  static long size = sizeof(twice(1));
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    a[i] = a[i] + size;
#pragma schedule[i][1]
    size = size + 1;
  }
#pragma end_scop
}
