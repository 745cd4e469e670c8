/* A C program linked against libKT4000.so: the header compiles as C and
 * the exports link and answer without a printer. Exits non-zero on the
 * first unexpected result. */
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "KT4000.h"

static int failures = 0;

static void expect(int ok, const char *what)
{
    if (!ok) {
        fprintf(stderr, "unexpected: %s\n", what);
        ++failures;
    }
}

int main(void)
{
    char model[9] = {0};
    char buffer[16] = {0};

    expect(fnKtdll() == 42, "fnKtdll() == 42");
    expect(nKtdll == 0, "nKtdll starts at 0");
    expect(getModel(model) == 0 && strcmp(model, "KT-4000") == 0, "getModel after loading");
    expect(setModel("MV550") == 0, "setModel");
    expect(setColor(256) == 0, "setColor");
    expect(sendy("x", "usb", 9600, 0, 1, 0, 0, NULL) == 0, "sendy does nothing");
    expect(rwKT(1, NULL, "usb", 9600, 0) == KT_ERR_ARGS, "rwKT without a buffer");
    expect(KT_lastError(buffer, (int)sizeof buffer) == EINVAL && buffer[0] != '\0',
           "KT_lastError names EINVAL");
    expect(rwKT(101, buffer, "usb", KT_RWKT_SERVICE_VALUE, 0) == KT_ERR_SERVICE,
           "rwKT service index");
    expect(RegBitmap(NULL) == 0, "RegBitmap(NULL) empties the list");
    expect(DefBitmap(NULL, "127.0.0.1", 9100, 0) == KT_BMP_NOTHING_TO_DEFINE,
           "DefBitmap with nothing registered");
    expect(PrnBitmap(0, 1, "127.0.0.1", 9100, 0) == KT_BMP_NUMBER_OUT_OF_RANGE,
           "PrnBitmap number out of range");
    expect(KT_lastError(NULL, 0) == ERANGE, "KT_lastError after PrnBitmap");
    expect(fnKtdll() == 42 && KT_lastError(NULL, 0) == 0,
           "KT_lastError is 0 after a call that succeeded");
    if (failures == 0)
        puts("C caller: all exports answered as expected");
    return failures == 0 ? 0 : 1;
}
