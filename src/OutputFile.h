#ifndef TARVEX_OUTPUT_FILE_H
#define TARVEX_OUTPUT_FILE_H

// The files a run leaves on disk. Each is written whole to a new temporary
// file in its own folder and then renamed over its name, so that a reader
// (or a concurrent run) sees either the old file or the new one, never a
// part, and a failed write (a full disk) leaves the old file as it was.

#include <string>

// Replaces the file `path` by one holding `text`. A link at `path` is
// replaced by the new file; the file it led to is left untouched. Returns ""
// on success, else why it failed; the temporary file never outlives the call.
std::string replace_file(const std::string& path, const std::string& text);

// Whether both names lead to one existing file (same device and inode,
// links followed).
bool same_file(const std::string& a, const std::string& b);

#endif
