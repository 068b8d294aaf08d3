/* The FT3 protocol and event-archive decoding for other programs: libft3.so.
 *
 * Every function below is exported with C linkage under its own name, and FT3ExportTable lists
 * the thirty protocol functions by their ordinals 1 to 30 (24 and 25 are the same function).
 * All use the platform's one C calling convention. Nothing else is exported.
 *
 * Status: a function that can fail returns FT3_OK (0) on success, or a negative FT3_E_... code.
 * FT3LastError() then gives the failure's message on the calling thread (UTF-8; the protocol's
 * own messages are Russian); every call that can fail sets it, to "" on success.
 *
 * Octet buffers changed in place come as (buffer, *length, capacity): *length octets in use
 * in capacity octets of memory. The function writes its result back and sets *length. When the
 * function fails, the buffer holds what the protocol leaves in it at that point (after a failed
 * exchange, for example, the three leader octets), or is untouched when that would not fit.
 * A result that does not fit gives FT3_E_SPACE and leaves the buffer untouched. FT3_MAX_FRAME
 * octets always suffice. Read-only buffers come as (buffer, length).
 *
 * Texts come out as (text, capacity): UTF-8 with a terminating zero. Such a function returns the
 * text's length in octets (without the zero) or a negative code. With capacity 0 (text may be
 * NULL) it only returns the length; a capacity too small for the whole text gives FT3_E_SPACE
 * and an empty text. FT3_TEXT_CAPACITY octets always suffice.
 *
 * Date-times are days since 1899-12-30 with the time of day as the fraction (local time).
 * Booleans are int: 0 false, anything else true.
 *
 * Thread use: any thread may call any function. The exchanges of one library instance hold one
 * lock from the send to the end of the reply's read, so they never interleave on a line; other
 * processes using the same port number are kept out while a frame is written.
 */
#ifndef FT3LIB_FT3_H
#define FT3LIB_FT3_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define FT3_API __attribute__((visibility("default")))
#else
#define FT3_API
#endif

/* C++ code that also sees the program's own C++ functions of these names (comm/) defines
 * FT3_NAMESPACE to put the declarations below into a namespace of that name; they still name the
 * library's C functions. The library's sources do so themselves. */
#if defined(__cplusplus) && defined(FT3_NAMESPACE)
namespace FT3_NAMESPACE {
#endif
#ifdef __cplusplus
extern "C" {
#endif

enum {
    FT3_OK = 0,
    FT3_E_ARGUMENT = -1,  /* a null pointer, or a length above the capacity */
    FT3_E_SPACE = -2,     /* the result does not fit the caller's buffer or text */
    FT3_E_DATA = -3,      /* a bound crossed, an event record cut short or in a form its code does
                             not allow, an unsupported channel-count code */
    FT3_E_NO_REPLY = -4,  /* a failed send, no reply, no leader, a reply of the wrong length */
    FT3_E_CRC = -5,       /* a block CRC of a reply does not match */
    FT3_E_DEVICE = -6,    /* the controller reports an error code or a fault state */
    FT3_E_PORT = -7,      /* the serial port failed */
    FT3_E_DATE = -8,      /* a time that is no valid date or time of day */
    FT3_E_FAILURE = -9    /* anything else (out of memory, say) */
};

#define FT3_MAX_FRAME 290      /* a frame carrying 255 octets of user data */
#define FT3_TEXT_CAPACITY 512
#define FT3_EXPORT_COUNT 30

/* The message of the calling thread's last failure; "" after a success. Valid until the
 * thread's next call into the library. */
FT3_API const char* FT3LastError(void);

/* ---- Event-archive records ----------------------------------------------------------------- */

/* One event as decoded from a record. Long records are 20 octets, short ones 8. */
typedef struct FT3Event {
    int32_t isLong;
    uint8_t code;
    uint8_t attribute;          /* short records: bits 6-7 of the attribute octet */
    uint16_t channel;
    double time;                /* 0 when the record's time is no valid date; short records:
                                   the moment of decoding */
    uint8_t value8;             /* octet 13; 0 in short records */
    uint8_t data[6];            /* octets 14-19, or octets 4-7 in the first four places */
    uint8_t value32[4];         /* octets 10-13; zeros in short records */
    uint16_t value16;           /* octets 11-12; 0 in short records */
    uint8_t param;              /* restart (code 0) and clock setting (9): octet 12 less one */
    uint8_t param2;             /* clock setting (9): octet 11 */
    char className[16];         /* the event's class, e.g. "TEvTU169" */
    char command[16];           /* control commands (168, 169): " Вкл", "Откл", " Акт" or hex */
    char description[256];      /* control commands: their description; else "" */
} FT3Event;

/* 1. Decodes the record at the position into *event. With freeBuffer, *length becomes 0 once
 * the event is decoded (the buffer's memory stays the caller's). */
FT3_API int GetEvntDT(const uint8_t* buffer, size_t* length, uint8_t position, int freeBuffer,
                      int isLong, FT3Event* event);
/* 2, 3. The record lengths: 20 and 8. */
FT3_API int LongEventLen(void);
FT3_API int ShortEventLen(void);
/* 4. The name of an event code; a code without a name gives the code in decimal. */
FT3_API int GetNameEvent(uint8_t code, char* text, size_t capacity);
/* 5. The text of a controller's state octet ("Нормальное состояние" for 0). */
FT3_API int DecodeDevState(uint8_t state, char* text, size_t capacity);
/* 8. GetNameEvent with the arguments the other way round. */
FT3_API int GetEventName(char* text, size_t capacity, uint8_t code);

/* ---- Frames and reply checks --------------------------------------------------------------- */

/* 6. The text of a controller error code; "" for no error. */
FT3_API int TestInputCod(char* text, size_t capacity, uint8_t errorCode);
/* 7. The texts of a set of state flags, each ended by a carriage return. */
FT3_API int TestStateDev(char* text, size_t capacity, uint8_t stateFlags);
/* 9. Writes the CRC of buffer[start .. start+count-1] behind it (high octet first). */
FT3_API int CRC_FT3(uint8_t* buffer, size_t length, uint16_t start, uint16_t count);
/* 10. Moves the block cursor one octet on; at the end of a block writes its CRC when asked and
 * skips to the next block. */
FT3_API int NextPosFT3(uint8_t* buffer, size_t length, uint16_t* blockStart, uint16_t* position,
                       int writeCRC);
/* 11. Replaces the user data by the whole frame; lengthIncluded: the data begin with their own
 * length octet. */
FT3_API int MakePackageFT3(uint8_t* buffer, size_t* length, size_t capacity,
                           uint16_t lengthIncluded);
/* 12. As MakePackageFT3, after marking the control octet as the new format (bit 7). */
FT3_API int MakePackageFT31(uint8_t* buffer, size_t* length, size_t capacity,
                            uint16_t lengthIncluded);
/* 13. Checks every block CRC of the first checkLength octets (0: all) in place: afterwards the
 * buffer holds the computed CRCs, and on a mismatch (FT3_E_CRC) octet 7 is 0xF3. */
FT3_API int TestPackageCRC_FT3(uint8_t* buffer, size_t length, uint16_t checkLength);
/* 14. The length of a frame carrying L octets of user data. */
FT3_API uint16_t CalcLenPackageFT3(uint8_t L);
/* 16. Checks a reply read as old format throughout and leaves its user data. */
FT3_API int ExtractPackageFT3(uint8_t* buffer, size_t* length);
/* 17. Checks a reply, brings it into the new layout and leaves its user data. */
FT3_API int ExtractPackageFT31(uint8_t* buffer, size_t* length);
/* 20. 1 when the control octet marks the new user-data format. */
FT3_API int TestNew(uint8_t control);

/* ---- Time, identifier and data replies ----------------------------------------------------- */

/* 18. The controller identifier as text, e.g. "AB512C". */
FT3_API int DecodeIDDevFT3(uint32_t identifier, char* text, size_t capacity);
/* 19. The seven-octet (isLong) or five-octet time at the position; 0 for all zeros. */
FT3_API int DecodeTime_2a(const uint8_t* buffer, size_t length, uint16_t position, int isLong,
                          double* dateTime);
/* 29. a: milliseconds (bits 0-15), minute (16-21), hour (24-28); b: day (0-4), month (8-11),
 * year - 2000 (16-22). */
FT3_API int Time2aToDateTime(uint32_t a, uint32_t b, double* dateTime);
/* 22-28. The header of a data reply's user data. */
FT3_API int GetCountDT_14(const uint8_t* reply, size_t length, uint8_t* count);
FT3_API int GetFormatDT_14(const uint8_t* reply, size_t length, uint8_t* format);
FT3_API int IsLastTrust_14(const uint8_t* reply, size_t length, int* trustworthy);
FT3_API int IsFldPresent_14(const uint8_t* reply, size_t length, int* present);
FT3_API int GetPosDT_14(const uint8_t* reply, size_t length, uint16_t* position);
FT3_API int GetAddrCH_14(const uint8_t* reply, size_t length, uint16_t* address);

/* ---- Exchanges ----------------------------------------------------------------------------- */

/* A serial port opened by the library. Port number N opens the link COM<N> in the program's
 * folder when there is one (TAVIK_ZUZID_HOME, else the calling program's own folder), else
 * /dev/ttyS<N-1>. */
typedef struct FT3Port FT3Port;

typedef struct FT3PortSettings {
    uint32_t baudRate;
    uint8_t dataBits;           /* 5 to 8 */
    uint8_t parity;             /* 0 none, 1 odd, 2 even, 3 mark, 4 space */
    uint8_t stopBits;           /* 0 one, 1 one and a half, 2 two */
    uint8_t rs485;              /* RTS raised while sending */
    uint8_t echo;               /* every frame sent comes back on the line and is read back */
    /* Milliseconds. A read may take readTimeoutMultiplier x octets + readTimeoutConstant and
     * pause readIntervalTimeout between octets (0: no limit); a write likewise. */
    uint32_t readIntervalTimeout;
    uint32_t readTimeoutMultiplier;
    uint32_t readTimeoutConstant;
    uint32_t writeTimeoutMultiplier;
    uint32_t writeTimeoutConstant;
} FT3PortSettings;

/* What the monitoring program itself uses. */
#define FT3_PORT_SETTINGS_DEFAULT { 19200, 8, 0, 0, 0, 0, 50, 50, 100, 10, 5 }

/* Opens port number 1..255 with the settings (NULL: the defaults above). */
FT3_API int FT3PortOpen(uint8_t number, const FT3PortSettings* settings, FT3Port** port);
/* Closes and frees the port (NULL is allowed). */
FT3_API void FT3PortClose(FT3Port* port);

/* 15. Sends the request frame in the buffer and leaves the reply's user data there, with a
 * single search for the reply's leader. */
FT3_API int ExchangeFT3(FT3Port* port, uint8_t* buffer, size_t* length, size_t capacity);
/* 21. Reads a reply's leader and length octet, skipping at most maxSkip octets before them;
 * afterwards the buffer holds A0 26 L. */
FT3_API int FindMessageFT3(FT3Port* port, uint8_t address, uint8_t* buffer, size_t* length,
                           size_t capacity, uint8_t maxSkip);

/* The caller's clock: any count that grows with time. */
typedef int64_t (*FT3Clock)(intptr_t userValue);

/* 30. The exchange with the leader searched again until timeoutMs have passed since the send;
 * *roundTrip (may be NULL) receives the time from the send to the end of the reply's read in
 * the clock's counts, or -1 without a clock. */
FT3_API int ExchangeFT3Ex(FT3Port* port, uint8_t* buffer, size_t* length, size_t capacity,
                          uint16_t timeoutMs, FT3Clock clock, intptr_t userValue,
                          int64_t* roundTrip);

/* ---- The ordinal table --------------------------------------------------------------------- */

/* Cast proc to the function's own type before calling it. */
typedef void (*FT3Proc)(void);

typedef struct FT3Export {
    uint16_t ordinal;
    const char* name;
    FT3Proc proc;
} FT3Export;

/* Ordinals 1 to 30 in order: entry i has ordinal i + 1. */
FT3_API extern const FT3Export FT3ExportTable[FT3_EXPORT_COUNT];

#ifdef __cplusplus
}
#endif
#if defined(__cplusplus) && defined(FT3_NAMESPACE)
}
#endif

#endif
