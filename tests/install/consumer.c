/* A program built against an installed KT4000 (with pkg-config or with
 * find_package): asks the printer at 127.0.0.1:PORT for its model name with
 * rwKT and prints it. Exits non-zero when the call fails. */
#include <KT4000.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s PORT\n", argv[0]);
        return 2;
    }
    char buffer[16];
    memset(buffer, 0, sizeof buffer);
    const int32_t result = rwKT(4, buffer, "127.0.0.1", (int32_t)atoi(argv[1]), 0);
    if (result != KT_OK) {
        fprintf(stderr, "rwKT(4) failed: %d\n", (int)result);
        return 1;
    }
    /* The reply is "_" and the zero-terminated model name. */
    printf("model %s\n", buffer + 1);
    return 0;
}
