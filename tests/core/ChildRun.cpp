#include "ChildRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string make_temp_file() {
  char name[] = "/tmp/tarvex_child_XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) {
    perror("mkstemp");
    std::abort();
  }
  close(fd);
  return name;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  std::remove(path.c_str());
  return ss.str();
}

}  // namespace

ChildResult run_in_child(const std::function<void()>& body) {
  std::string out_path = make_temp_file();
  std::string err_path = make_temp_file();
  std::cout.flush();
  std::cerr.flush();
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    if (!freopen(out_path.c_str(), "w", stdout) || !freopen(err_path.c_str(), "w", stderr)) _exit(125);
    body();
    std::exit(0);
  }
  int raw = 0;
  waitpid(pid, &raw, 0);
  int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return {status, slurp(out_path), slurp(err_path)};
}
