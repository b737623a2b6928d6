#include "problem_file.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

bool read_rows(std::istream &in, int width, std::vector<std::vector<long long>> *rows) {
  int count = 0, columns = 0;
  if (!(in >> count >> columns) || columns != width || count < 0) return false;
  rows->assign(count, std::vector<long long>(width));
  for (auto &row : *rows)
    for (long long &v : row)
      if (!(in >> v)) return false;
  return true;
}

}  // namespace

bool read_problem_file(const std::string &path, ProblemFile *out) {
  std::ifstream in(path);
  std::string header;
  if (!std::getline(in, header)) return false;
  PipOptions &o = out->options;
  o = {0, 0, 1, 0, 0, 0, 0};
  if (std::sscanf(header.c_str(), "# nn=%d np=%d Nq=%d Maximize=%d Urs_parms=%d Urs_unknowns=%d",
                  &out->nn, &out->np, &o.Nq, &o.Maximize, &o.Urs_parms, &o.Urs_unknowns) != 6)
    return false;
  long long bignum = 0;
  return read_rows(in, out->np + 2, &out->context) && (in >> bignum) && bignum == -1 &&
         read_rows(in, out->nn + out->np + 2, &out->domain);
}

std::vector<std::string> problem_files(const std::string &folder) {
  std::vector<std::string> files;
  if (DIR *dir = opendir(folder.c_str())) {
    while (dirent *entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pip") == 0)
        files.push_back(folder + "/" + name);
    }
    closedir(dir);
  }
  std::sort(files.begin(), files.end());
  return files;
}
