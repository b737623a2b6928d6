#include "PolyhedronTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "CoreTest.h"

FreshRegistry::FreshRegistry(const std::vector<std::string>& counters,
                             const std::vector<std::string>& parameters) {
  clear_registries();
  register_names(counters, parameters);
}

FreshRegistry::~FreshRegistry() { clear_registries(); }

static std::string slurp(FILE* f) {
  std::rewind(f);
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return text;
}

ChildRun run_in_child(const std::function<void()>& body) {
  std::cout.flush();
  std::cerr.flush();
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  pid_t pid = fork();
  if (pid == 0) {
    leave_leaks_unjudged();
    dup2(fileno(out), 1);
    dup2(fileno(err), 2);
    body();
    std::exit(0);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  ChildRun run;
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  run.out = slurp(out);
  run.err = slurp(err);
  return run;
}

std::string text_of(const std::function<void(std::ostream&)>& print) {
  std::ostringstream os;
  print(os);
  return os.str();
}

std::set<std::vector<int>> row_set(const std::vector<std::vector<int>>& rows) {
  return std::set<std::vector<int>>(rows.begin(), rows.end());
}
