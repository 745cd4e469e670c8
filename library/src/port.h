// One open connection to a printer, found from the exports' port text, baud
// and caller handle, and the bounded reads and writes on it. The backend is
// chosen by the port text; the connection closes itself.
#pragma once

#include "port_types.h"

namespace kt::port {

// "usb" in any case is USB; a text whose first character above blank is a
// digit is a TCP address; everything else, NULL included, is a named port.
Kind classify(const char *text);

// True when the first character above blank is a decimal digit.
bool isAddressPort(const char *text);

class Connection {
public:
    Connection() = default;
    ~Connection() { close(); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens by the port text with the backend of its kind. For TCP `baud`
    // is the port number; `hdv` matters only for named ports; `purge`
    // flushes a named port after opening.
    Status open(const OpenRequest &request);
    // Opens with the given backend, whatever the port text looks like.
    Status open(const Operations &backend, const OpenRequest &request);

    // Writes all n bytes, waiting for the port at most its write bound;
    // ETIMEDOUT when the bound passed before everything went out.
    Transfer write(const void *data, std::size_t n);

    // Reads once, up to n bytes. Named ports give what has arrived within
    // about 1 + n milliseconds; USB and TCP wait for the first bytes up to
    // their read bound. Count 0: nothing arrived.
    Transfer read(void *buffer, std::size_t n);

    // Waits up to ms for input, then reads once what has arrived, up to n
    // bytes. Count 0: nothing arrived in time; an error of ECONNRESET when
    // the peer has closed the connection.
    Transfer readWithin(void *buffer, std::size_t n, int ms);

    // Throws away input that has arrived and not been read.
    void discardInput();

    // Closes what open() opened (TCP: shutdown first); a caller's handle
    // stays open. Also done by the destructor.
    void close();

    Kind kind() const { return ops_ ? ops_->kind : Kind::Named; }
    int fd() const { return handle_.fd; }

private:
    const Operations *ops_ = nullptr;
    Opened handle_;
};

} // namespace kt::port
