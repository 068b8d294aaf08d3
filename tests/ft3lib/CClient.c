/* A program written in C that links the library: the header must be plain C, and the calls
 * below must behave as documented there. Returns 0, or the number of the first check that failed
 * (with its detail in `detail`). */
#include "ft3lib/ft3.h"

#include <stdio.h>
#include <string.h>

int RunCClient(char* detail, size_t size);

static int Failed(int check, char* detail, size_t size, const char* what)
{
    snprintf(detail, size, "%s (last error: %s)", what, FT3LastError());
    return check;
}

int RunCClient(char* detail, size_t size)
{
    char text[FT3_TEXT_CAPACITY];
    uint8_t frame[FT3_MAX_FRAME] = {0x03, 0xFA, 0x01, 0x00, 0x00, 0x14};
    size_t length = 6;
    uint8_t record[20] = {0xA9, 0x00, 0x2A, 0x00, 0x20, 0x4E, 0x0F, 0x0D, 0x17, 0x0B,
                          0x06, 0x00, 0x00, 0x00, 0x01, 0x80, 0x05, 0x00, 0x00, 0x00};
    size_t recordLength = sizeof record;
    FT3Event event;
    double when = -1;

    if (LongEventLen() != 20 || ShortEventLen() != 8)
        return Failed(1, detail, size, "record lengths");
    if (GetNameEvent(13, text, sizeof text) != 2 || strcmp(text, "13") != 0)
        return Failed(2, detail, size, "name of code 13");
    if (DecodeDevState(0, text, sizeof text) < 0 || strcmp(text, "Нормальное состояние") != 0)
        return Failed(3, detail, size, "state 0");
    if (MakePackageFT31(frame, &length, sizeof frame, 0) != FT3_OK || length != 20
        || frame[0] != 0xA0 || frame[3] != 0x83)
        return Failed(4, detail, size, "frame built");
    if (ExtractPackageFT31(frame, &length) != FT3_OK || length != 6 || frame[5] != 0x14)
        return Failed(5, detail, size, "frame extracted");
    if (GetEvntDT(record, &recordLength, 0, 1, 1, &event) != FT3_OK || recordLength != 0
        || event.channel != 42 || strcmp(event.className, "TEvTU169") != 0
        || strcmp(event.command, " Вкл") != 0)
        return Failed(6, detail, size, "control-command event");
    recordLength = 7;
    if (GetEvntDT(record, &recordLength, 0, 1, 1, &event) != FT3_E_DATA || recordLength != 7
        || strcmp(FT3LastError(), "Нет данных для формирования события") != 0)
        return Failed(7, detail, size, "record cut short");
    if (Time2aToDateTime(0, 0x060017, &when) != FT3_E_DATE || when != -1)
        return Failed(8, detail, size, "month 0");
    if (TestNew(0x83) != 1 || CalcLenPackageFT3(16) != 23)
        return Failed(9, detail, size, "plain values");
    return 0;
}
