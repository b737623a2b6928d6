#include "Profile.h"

#include <sys/time.h>

int64_t DS_time = 0;
int64_t clak_time = 0;

void init_time() {
  DS_time = 0;
  clak_time = 0;
}

void add_to_DS(int64_t t) { DS_time += t; }

void add_to_clak(int64_t t) { clak_time += t; }

int64_t get_DS_time() { return DS_time; }

int64_t get_clak_time() { return clak_time; }

int64_t get_time() {
  timeval now;
  gettimeofday(&now, nullptr);
  return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_usec;
}
