// Diagnostics log of the library: /ktdll.log, appended to only while the
// file exists, so that logging is switched on by creating the file.
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
// Opening an already open log changes nothing.
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

// The log file's path; "/ktdll.log" unless a test moved it.
const std::string &path();
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
