// Cost of FT3 framing per frame: building a request and checking and extracting a reply.
#include "comm/FT3Share.h"

#include <benchmark/benchmark.h>

namespace {

DynByteArray UserData(int64_t size)
{
    DynByteArray data = {0x88, 0xFA, 0x01, 0x00, 0x00, 0x14};
    while (static_cast<int64_t>(data.size()) < size)
        data.push_back(static_cast<uint8_t>(data.size() * 31));
    data.resize(static_cast<size_t>(size));
    return data;
}

void BM_BuildFrame(benchmark::State& state)
{
    const DynByteArray data = UserData(state.range(0));
    for (auto _ : state) {
        DynByteArray buffer = data;
        MakePackageFT31(buffer, 0);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetLabel("ns per frame");
}

void BM_CheckAndExtractFrame(benchmark::State& state)
{
    DynByteArray frame = UserData(state.range(0));
    MakePackageFT31(frame, 0);
    for (auto _ : state) {
        DynByteArray buffer = frame;
        ExtractPackageFT31(buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetLabel("ns per frame");
}

} // namespace

BENCHMARK(BM_BuildFrame)->Arg(10)->Arg(200);
BENCHMARK(BM_CheckAndExtractFrame)->Arg(10)->Arg(200);
