#pragma once
// The hook through which prepared reports could be compressed. The engine's own compressor is
// switched off and does nothing, so prepared reports are written uncompressed (their
// compressor byte is 0).
#include <QIODevice>

class TrpCompressor {
public:
    TrpCompressor() = default;
    virtual ~TrpCompressor() = default;
    virtual void Compress(QIODevice& in, QIODevice& out) { (void)in, (void)out; }
    virtual void Decompress(QIODevice& in, QIODevice& out) { (void)in, (void)out; }

    bool Enabled = false;
};
