// The RTF reader, which takes rich texts from templates, prepared pages and the clipboard, into
// a document. It may refuse input with its read error; a crash, undefined behaviour, an error
// of another kind, a hang or memory without bound is a fault.
#include <QTextDocument>

#include "base/Exception.h"
#include "report/file/RtfReader.h"
#include "tools/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTextDocument document;
    try {
        ReadRtf(FuzzInput(data, size), document);
    } catch (const Exception&) {
    }
    return 0;
}
