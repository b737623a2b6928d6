// stderr: old_style_declaration_undefined.c:6: error: g is declared without its parameters and not defined in the file, and a call passes it arguments: C++ reads `int g()` as taking none; declare its parameters
// An old-style declaration of a function the file does not define, called
// with an argument.
int N;
double A[20];
int g();

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = g(i);
  }
#pragma end_scop
}
