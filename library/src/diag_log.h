// Diagnostics log of the library: /ktdll.log, or the path in the
// environment variable KT4000_LOG, appended to only while the file exists,
// so that logging is switched on by creating the file.
//
// The stream is process-wide and unguarded, like the rest of the library's
// state: the exports that log (sendx, rwKT, DefBitmap) open it at their
// entry and close it before they return, and calls must not overlap.
#pragma once

#include <cstdio>
#include <string>

namespace kt::diag {

// Opens the log for appending when a regular file exists at the path (not
// through a link); otherwise logging stays off for the call. Never blocks.
// Opening an already open log changes nothing. When KT4000_LOG names
// something that exists but cannot be used, that is told once per process
// on standard error.
void open();

// Flushes and closes the log, marking it closed.
void close();

// True while the log is open.
bool active();

// Appends formatted text when the log is open; does nothing otherwise.
void write(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Flushes what was written so far.
void flush();

// Whole seconds since 1 January 1970, the time stamp of every log line.
long now();

// The log file's path: the one set by setPath(), else KT4000_LOG when set
// and not empty, else "/ktdll.log".
std::string path();
// Moves the log (tests); an empty path goes back to KT4000_LOG or the default.
void setPath(std::string path);

// Opens the log for the scope of one export call and closes it on every
// return path.
class Session {
public:
    Session() { open(); }
    ~Session() { close(); }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;
};

} // namespace kt::diag
