// The data file (.dxml) read into a hardware tree of two blocks of six suspensions of six
// sensors, with averaged points, as the program loads it at start. A partial load with its
// reason is a clear result; a crash, undefined behaviour, an escaping error, a hang or memory
// without bound is a fault.
#include "core/DataFile/DataFile.h"
#include "core/Device/HardConfig.h"
#include "tools/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = ScratchPath(QStringLiteral("data.dxml"));
    WriteScratchFile(path, FuzzInput(data, size));
    THardConfig tree(2, 6, 6);
    LoadDataFile(tree, path, 60);
    return 0;
}
