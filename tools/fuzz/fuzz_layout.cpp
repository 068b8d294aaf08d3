// The silo-block layout file (SiloBins.xml) given to the frames of a board of three blocks, as
// the board reads it when it is built, then the frames painted and written back. A file
// refused with its reason is a clear result; a crash, undefined behaviour, an escaping error, a
// hang or memory without bound is a fault.
#include <memory>
#include <vector>

#include <QImage>

#include "app/board/BinPanel.h"
#include "app/board/FrameSiloBin.h"
#include "app/board/SiloBinLayout.h"
#include "core/Monitor.h"
#include "tools/fuzz/FuzzSupport.h"

namespace {

struct TBoard {
    TBoard()
    {
        Monitor.HardConfig = std::make_unique<THardConfig>(3, 6, 6);
        Panel.resize(800, 600);
    }
    TMonitor Monitor;
    TBinPanel Panel;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TBoard* board = new TBoard;
    const QString path = ScratchPath(QStringLiteral("SiloBins.xml"));
    WriteScratchFile(path, FuzzInput(data, size));
    std::vector<std::unique_ptr<TfrSiLoBin>> owned;
    std::vector<TfrSiLoBin*> frames;
    for (uint8_t number = 1; number <= 3; ++number) {
        owned.push_back(std::make_unique<TfrSiLoBin>(board->Monitor, number, nullptr, &board->Panel));
        frames.push_back(owned.back().get());
    }
    LoadSiloBinLayout(frames, path);
    QImage image(400, 300, QImage::Format_RGB32);
    for (TfrSiLoBin* frame : frames)
        frame->render(&image);
    SiloBinLayoutText(frames);
    return 0;
}
