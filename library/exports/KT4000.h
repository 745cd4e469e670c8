/*
 * KT4000 printer link library.
 *
 * Plain C exports that open a receipt printer on USB, a serial or parallel
 * port, or TCP, send bytes, read one reply, read and write printer
 * parameters, and turn BMP files into the printer's raster images.
 *
 * Every export that talks to a printer opens the port at its start and
 * closes it before it returns (a caller handle passed as hdv is used as it
 * stands and left open). Results are 32-bit signed codes, 0 meaning success;
 * each export documents its own.
 *
 * Port text:
 *   "usb" (any case)        the first printer found by the USB model table
 *   "192.168.1.20"          TCP; the baud argument is the TCP port (9100)
 *   "COM3", "LPT1", "/dev/ttyUSB0", ...
 *                           a named port; COMn is /dev/ttyS(n-1), LPT1 is
 *                           /dev/lp0, a /dev/ path is opened as it stands
 *   NULL, "" or "null..."   LPT1
 *
 * Diagnostics are appended to /ktdll.log, and only while that file exists.
 *
 * The library keeps process-wide state (selected USB model, last found
 * model name, colour threshold, registered bitmaps, the log): calls must not
 * overlap.
 */
#ifndef KT4000_H
#define KT4000_H

#include <stdint.h>

#if defined(KT4000_BUILDING)
#define KT4000_API __attribute__((visibility("default")))
#else
#define KT4000_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of sendx and rwKT. */
#define KT_OK            0
#define KT_ERR_OPEN      1  /* the port could not be opened */
#define KT_ERR_IO        2  /* a write failed, or the reply read failed */
#define KT_ERR_ARGS      9  /* rwKT: invalid arguments */
#define KT_ERR_SERVICE  10  /* rwKT: service value with an index outside 51..73 */
#define KT_ERR_NOCMD    11  /* rwKT: no command exists for the index */

/* Baud value that switches rwKT into parameter write mode. */
#define KT_RWKT_SERVICE_VALUE 483926

/*
 * Opens the port, sends len bytes of data in chunks of 512 bytes (len < 1:
 * data is a zero-terminated text), then, if wait > 0 and reply is not NULL,
 * waits wait milliseconds and reads once up to size bytes into reply.
 * Returns 0, KT_ERR_OPEN or KT_ERR_IO.
 */
KT4000_API int32_t sendx(const void *data, const char *port, int32_t baud, int32_t hdv,
                         int32_t len, int32_t wait, int32_t size, void *reply);

/* Same parameters as sendx; does nothing and returns 0. */
KT4000_API int32_t sendy(const void *data, const char *port, int32_t baud, int32_t hdv,
                         int32_t len, int32_t wait, int32_t size, void *reply);

/*
 * Reads parameter or identity item `index` (1..23, 101 = real-time status)
 * into buffer (at least 16 bytes), or, with baud == KT_RWKT_SERVICE_VALUE,
 * writes parameter `index` (51..73) with the zero-terminated text in buffer.
 */
KT4000_API int32_t rwKT(int32_t index, char *buffer, const char *port, int32_t baud, int32_t hdv);

/*
 * NULL or "": empties the list, returns 0. Otherwise registers the file and
 * returns the new count (1..255); 257 when the list is full, 258 when the
 * name has 512 characters or more.
 */
KT4000_API int32_t RegBitmap(const char *fileName);

/*
 * Converts every registered bitmap (and fileName, when given) and stores
 * them in the printer with one define command. Returns 0 defined, 2 a file
 * cannot be opened or is not a bitmap, 3 no memory, 4 the send failed,
 * 5 neither port nor handle, 6 a bitmap could not be converted (also
 * compressed, top-down, or pixel data that does not match the header),
 * 7 nothing to define, and RegBitmap's 257 or 258 when fileName cannot
 * join the list (nothing is sent then). After a failure the list is kept.
 */
KT4000_API int32_t DefBitmap(const char *fileName, const char *port, int32_t baud, int32_t hdv);

/*
 * Prints stored image `number` (1..255) in print mode 0..3. Returns 3 for a
 * number out of range, else the result of sendx.
 */
KT4000_API int32_t PrnBitmap(int32_t number, int32_t mode, const char *port, int32_t baud,
                             int32_t hdv);

/* Chooses the USB model searched first ("kt4000", "MV550", ...). Returns 0. */
KT4000_API int32_t setModel(const char *key);

/* Copies the model name of the last USB discovery (at most 9 bytes). Returns 0. */
KT4000_API int32_t getModel(char *buffer);

/* Sets the colour threshold of the bitmap conversion to value & 0xFF. Returns 0. */
KT4000_API int32_t setColor(int32_t value);

/* Sample exports, kept for callers that link against them. */
KT4000_API int fnKtdll(void);
KT4000_API extern int nKtdll;

#ifdef __cplusplus
} /* extern "C" */

class KT4000_API CKtdll {
public:
    CKtdll();
    CKtdll &operator=(const CKtdll &other);
};
#endif

#endif /* KT4000_H */
