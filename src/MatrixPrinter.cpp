#include "MatrixPrinter.h"

#include <iostream>

void MatrixPrinter::print_vec(const std::vector<int>& v) {
  for (int x : v) std::cout << x << "  ";
  std::cout << std::endl;
}

void MatrixPrinter::print_vec_vec(const std::vector<std::vector<int>>& m) {
  for (const auto& row : m) print_vec(row);
}

void MatrixPrinter::print_list_vec(const std::list<std::vector<int>>& l) {
  for (const auto& v : l) print_vec(v);
}

void MatrixPrinter::print_vec_vec_vec(const std::vector<std::vector<std::vector<int>>>& v) {
  std::cout << "--" << std::endl;
  for (const auto& m : v) {
    print_vec_vec(m);
    std::cout << std::endl;
  }
  std::cout << "--" << std::endl;
}

std::ostream& operator<<(std::ostream& out, const std::vector<int>& v) {
  out << v.size() << std::endl;
  for (int x : v) out << x << std::endl;
  return out;
}

std::ostream& operator<<(std::ostream& out, const std::vector<std::vector<int>>& m) {
  out << m.size() << " " << (m.empty() ? 0 : m[0].size()) << std::endl;
  for (const auto& row : m) {
    for (int x : row) out << x << "  ";
    out << std::endl;
  }
  return out;
}
