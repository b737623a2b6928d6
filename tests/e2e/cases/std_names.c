// Globals named like members of namespace std, written and read in tiled
// statements: the output must compile as C++17 and C++20.
// params: size
// arrays: beta data left end
// values: 0 | 1 | 3 | 4 | 9 | 40
// std: c++17 c++20
int size;
double beta;
double data[40];
double left[40];
double end;

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < size; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i][0]
    data[i] = beta * data[i] + left[i];
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i][1]
    end = end * 2 + data[i];
  }
#pragma end_scop
}
