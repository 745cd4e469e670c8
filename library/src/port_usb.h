// USB printers: usblp device nodes found by vendor and product id. The
// backend's entry points are usbOperations (port_types.h): openUSB is the
// discovery through the model table, the selected fragment first, then
// every row in order, recording the model name of each attempt.
#pragma once

#include <string>

#include "port_types.h"

namespace kt::port {

// The enumeration index reported when the device list ran out.
constexpr int kNoMoreItems = 10000;

// The id text a fragment is searched in: "vid_xxxx&pid_yyyy", lower case.
std::string usbIdText(const char *vendor, const char *product);

// Opens the first usblp device whose id text contains `fragment`
// (case-sensitive; empty = any device). index is the start index on entry
// and the index reached on return. Gives the fd, or -1.
int openDev(const std::string &fragment, int &index);

} // namespace kt::port
