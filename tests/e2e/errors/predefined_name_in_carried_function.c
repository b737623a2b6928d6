// stderr: predefined_name_in_carried_function.c:9: error: '__LINE__' is the line it stands on, which changes where the tiled code carries this function (into a file of its own)
// A carried function keeps its name, so __func__ keeps its value there;
// __LINE__ would be a line of the tiled file.
int N;
double A[20];

double f() {
  double first = __func__[0];
  return first + __LINE__;
}

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + f();
  }
#pragma end_scop
}
