// A USB client for the emulator's --usb mode, run inside its testbed: reads
// the model name and the real-time status through the library on port
// "usb" and prints them ("model KT-9100X", "status 12"). Exits 0 when both
// were read, 1 otherwise.
#include <cstdio>

#include "KT4000.h"

int main()
{
    char model[16] = {};
    if (const int32_t r = rwKT(4, model, "usb", 9600, 0); r != KT_OK) {
        std::printf("model not read: %d\n", static_cast<int>(r));
        return 1;
    }
    // The reply is "_" + the name + NUL.
    std::printf("model %.14s\n", model + 1);
    char status[16] = {};
    if (const int32_t r = rwKT(101, status, "usb", 9600, 0); r != KT_OK) {
        std::printf("status not read: %d\n", static_cast<int>(r));
        return 1;
    }
    std::printf("status %02x\n", static_cast<unsigned char>(status[0]));
    return 0;
}
