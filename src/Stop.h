#ifndef TARVEX_STOP_H
#define TARVEX_STOP_H

#include <ostream>
#include <string>

// Ends the run after an unrecoverable failure: writes `message` and an end of
// line on `out` (the stream each failure names), then exits with status 1,
// which flushes both standard streams.
[[noreturn]] void stop(std::ostream& out, const std::string& message);

#endif
