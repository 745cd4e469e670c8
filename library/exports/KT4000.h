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
 * Diagnostics are appended to /ktdll.log, or to the file named by the
 * environment variable KT4000_LOG, and only while that file exists and is a
 * regular file (a link or a FIFO at the path is not used). A KT4000_LOG
 * that names something existing but unusable is reported once per process
 * on stderr.
 *
 * KT_lastError tells the system error behind the calling thread's last
 * call into the library.
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
#define KT_OK 0
#define KT_ERR_OPEN 1     /* the port could not be opened */
#define KT_ERR_IO 2       /* a write failed, or the reply read failed */
#define KT_ERR_ARGS 9     /* rwKT: invalid arguments */
#define KT_ERR_SERVICE 10 /* rwKT: service value with an index outside 51..73 */
#define KT_ERR_NOCMD 11   /* rwKT: no command exists for the index */

/* Result codes of the bitmap exports. */
#define KT_BMP_OK 0
#define KT_BMP_CANNOT_OPEN 2         /* DefBitmap: a file is missing, unreadable or not a bitmap */
#define KT_BMP_NO_MEMORY 3           /* DefBitmap: the command cannot be built in memory */
#define KT_BMP_NUMBER_OUT_OF_RANGE 3 /* PrnBitmap: the number is not 1..255 */
#define KT_BMP_SEND_FAILED 4         /* DefBitmap: sendx failed */
#define KT_BMP_NO_PORT 5             /* DefBitmap: neither port text nor caller handle */
#define KT_BMP_NOT_CONVERTED 6       /* DefBitmap: a bitmap could not be converted */
#define KT_BMP_NOTHING_TO_DEFINE 7   /* DefBitmap: no names registered and none given */
#define KT_BMP_LIST_FULL 257         /* RegBitmap: 255 names are already registered */
#define KT_BMP_NAME_TOO_LONG 258     /* RegBitmap: the name has 512 characters or more */

/* Baud value that switches rwKT into parameter write mode. */
#define KT_RWKT_SERVICE_VALUE 483926

/*
 * Opens the port, sends len bytes of data in chunks of 512 bytes (len < 1:
 * data is a zero-terminated text), then, if wait > 0 and reply is not NULL,
 * waits wait milliseconds and reads once up to size bytes into reply.
 * Returns 0, KT_ERR_OPEN or KT_ERR_IO.
 */
KT4000_API int32_t sendx(const void *data, const char *port, int32_t baud, int32_t hdv, int32_t len,
                         int32_t wait, int32_t size, void *reply);

/* Same parameters as sendx; does nothing and returns 0. */
KT4000_API int32_t sendy(const void *data, const char *port, int32_t baud, int32_t hdv, int32_t len,
                         int32_t wait, int32_t size, void *reply);

/*
 * Reads parameter or identity item `index` (1..23, 101 = real-time status)
 * into buffer (at least 16 bytes), or, with baud == KT_RWKT_SERVICE_VALUE,
 * writes parameter `index` (51..73) with the zero-terminated text in buffer.
 */
KT4000_API int32_t rwKT(int32_t index, char *buffer, const char *port, int32_t baud, int32_t hdv);

/*
 * NULL or "": empties the list, returns 0. Otherwise registers the file and
 * returns the new count (1..255); KT_BMP_LIST_FULL when the list is full,
 * KT_BMP_NAME_TOO_LONG when the name has 512 characters or more.
 */
KT4000_API int32_t RegBitmap(const char *fileName);

/*
 * Converts every registered bitmap (and fileName, when given) and stores
 * them in the printer with one define command. Returns KT_BMP_OK or one of
 * the DefBitmap codes above (KT_BMP_NOT_CONVERTED also for compressed,
 * top-down, or pixel data that does not match the header), and RegBitmap's
 * KT_BMP_LIST_FULL or KT_BMP_NAME_TOO_LONG when fileName cannot join the
 * list (nothing is sent then). After a failure the list is kept.
 */
KT4000_API int32_t DefBitmap(const char *fileName, const char *port, int32_t baud, int32_t hdv);

/*
 * Prints stored image `number` (1..255) in print mode 0..3. Returns
 * KT_BMP_NUMBER_OUT_OF_RANGE for a number out of range, else the result of
 * sendx.
 */
KT4000_API int32_t PrnBitmap(int32_t number, int32_t mode, const char *port, int32_t baud,
                             int32_t hdv);

/* Chooses the USB model searched first ("kt4000", "MV550", ...). Returns 0. */
KT4000_API int32_t setModel(const char *key);

/* Copies the model name of the last USB discovery (at most 9 bytes). Returns 0. */
KT4000_API int32_t getModel(char *buffer);

/* Sets the colour threshold of the bitmap conversion to value & 0xFF. Returns 0. */
KT4000_API int32_t setColor(int32_t value);

/*
 * The system error number (an errno value) behind the calling thread's last
 * call into the library, 0 when that call succeeded. Every other export
 * sets it; KT_lastError itself leaves it as it is. Writes a short text of
 * the error into text, at most size bytes and always zero-terminated (text
 * may be NULL, size 0 or less writes nothing). The numbers of typical
 * failures:
 *   ENOENT        no such port (the device does not exist)
 *   EACCES        permission denied on the port
 *   EBUSY         the port is in use by another opener
 *   ENODEV        not a character device, or no USB printer found
 *   ENXIO         a serial printer without CTS and DSR (off or unplugged)
 *   ECONNREFUSED  the TCP peer refused every connect
 *   ETIMEDOUT     a connect or a write did not finish within its bound
 *   EINVAL        invalid arguments or port text, a file that is no bitmap
 *   EMSGSIZE      rwKT: the text does not fit the command buffer
 *   ENOSPC, ENAMETOOLONG  RegBitmap: the list is full, the name too long
 *   ERANGE        PrnBitmap: the image number is not 1..255
 */
KT4000_API int KT_lastError(char *text, int size);

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
