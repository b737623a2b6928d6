#include "IsccProcess.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

#include "Stop.h"

namespace {

std::string directory_of_executable() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return "";
  std::string self(path, n);
  return self.substr(0, self.rfind('/') + 1);
}

bool is_executable(const std::string& path) {
  return !path.empty() && access(path.c_str(), X_OK) == 0;
}

// iscc next to the running tarvex first, then along PATH; "" when none.
std::string find_iscc() {
  std::string own = directory_of_executable() + "iscc";
  if (is_executable(own)) return own;
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    std::string candidate = (dir.empty() ? "." : dir) + "/iscc";
    if (is_executable(candidate)) return candidate;
  }
  return "";
}

// iscc's exit status when a codegen exceeded its budget of work, when it
// generated the else schedule of its codegen, and when the evaluation of a
// statement's operands exceeded its budget of work.
const int over_budget_status = 2;
const int else_schedule_status = 3;
const int evaluation_over_budget_status = 4;

[[noreturn]] void iscc_failed(const std::string& why) {
  stop(std::cout, "Program::backend_iscc: iscc failed (" + why + ")");
}

// The running iscc: its process and the parent's ends of its input and
// output pipes.
struct Child {
  pid_t pid;
  int input;
  int output;
};

Child start(const std::string& iscc) {
  int to[2], from[2];
  if (pipe2(to, O_CLOEXEC) != 0) iscc_failed(std::strerror(errno));
  if (pipe2(from, O_CLOEXEC) != 0) iscc_failed(std::strerror(errno));
  std::cout.flush();
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) iscc_failed(std::strerror(errno));
  if (pid == 0) {
    // iscc may work for a minute: when tarvex is killed (a time limit),
    // the kernel kills iscc too. The signal comes when the thread that
    // forked ends, this main thread, which runs until tarvex exits; a
    // tarvex killed before the request leaves another parent already.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
    dup2(to[0], STDIN_FILENO);
    dup2(from[1], STDOUT_FILENO);
    execl(iscc.c_str(), "iscc", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(to[0]);
  close(from[1]);
  // The script is written only when the pipe has room, so that iscc's
  // output is read meanwhile and neither side waits for the other.
  fcntl(to[1], F_SETFL, fcntl(to[1], F_GETFL) | O_NONBLOCK);
  return Child{pid, to[1], from[0]};
}

void close_end(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Feeds `script` to the child while collecting its output, until the
// child closes its output. When iscc stops reading early, the rest of the
// script is dropped: its exit status tells what went wrong.
std::string exchange(Child& child, const std::string& script) {
  std::string text;
  size_t written = 0;
  if (script.empty()) close_end(child.input);
  while (child.output >= 0) {
    pollfd fds[2] = {{child.output, POLLIN, 0}, {child.input, POLLOUT, 0}};
    if (poll(fds, child.input >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      iscc_failed(std::strerror(errno));
    }
    if (child.input >= 0 && fds[1].revents) {
      ssize_t n = write(child.input, script.data() + written, script.size() - written);
      if (n > 0) written += n;
      if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == script.size()) close_end(child.input);
    }
    if (fds[0].revents) {
      char buffer[4096];
      ssize_t n = read(child.output, buffer, sizeof(buffer));
      if (n > 0) text.append(buffer, n);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) close_end(child.output);
    }
  }
  close_end(child.input);
  return text;
}

}  // namespace

IsccNest run_iscc(const std::string& script) {
  std::string iscc = find_iscc();
  if (iscc.empty()) iscc_failed("iscc not found");
  Child child = start(iscc);
  // A write to an iscc that has stopped reading must fail, not end tarvex.
  struct sigaction ignore = {}, previous;
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  std::string text = exchange(child, script);
  sigaction(SIGPIPE, &previous, nullptr);
  int status = 0;
  while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status)) iscc_failed("terminated by signal " + std::to_string(WTERMSIG(status)));
  switch (WEXITSTATUS(status)) {
    case 0: return IsccNest{IsccNest::Outcome::kNest, text};
    case else_schedule_status: return IsccNest{IsccNest::Outcome::kLastMode, text};
    case over_budget_status: return IsccNest{IsccNest::Outcome::kCodegenOverBudget, ""};
    case evaluation_over_budget_status: return IsccNest{IsccNest::Outcome::kEvaluationOverBudget, ""};
    default: iscc_failed("exit status " + std::to_string(WEXITSTATUS(status)));
  }
}
