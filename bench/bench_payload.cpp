// Encoding and decoding cost of a typical reply (a table of about 100 KB) and
// of a large one (4 MB, deflated in pieces on several threads).
#include "qr_payload.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string table_reply(size_t size)
{
    std::string xml = "<?xml version=\"1.0\"?><REPLY><TABLE NAME=\"Interfaces\" COLUMNS=\"6\">";
    for (int row = 0; xml.size() < size; ++row) {
        xml += "<ROW ID=\"" + std::to_string(row) + "\" HOST=\"sw-" + std::to_string(row / 48) +
               ".example.lan\" IFNAME=\"GigabitEthernet0/" + std::to_string(row % 48) + "\" ADDR=\"10." +
               std::to_string(row / 250 % 250) + "." + std::to_string(row % 250) +
               ".1\" MAC=\"00:1a:2b:" + std::to_string(10 + row % 89) + ":4c:" + std::to_string(10 + row % 71) +
               "\" SPEED=\"" + (row % 3 ? "1000000000" : "100000000") + "\"/>";
    }
    return xml + "</TABLE></REPLY>";
}

void BM_CompressPayload(benchmark::State& state)
{
    const std::string text = table_reply(static_cast<size_t>(state.range(0)));
    size_t payload_size = 0;
    for (auto _ : state) {
        std::string payload = CompressPayload(text, true);
        payload_size = payload.size();
        benchmark::DoNotOptimize(payload);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["payload_bytes"] = static_cast<double>(payload_size);
}

void BM_DecompressPayload(benchmark::State& state)
{
    const std::string text = table_reply(static_cast<size_t>(state.range(0)));
    const std::string payload = CompressPayload(text, true);
    for (auto _ : state) {
        std::string plain = DecompressPayload(payload, true);
        if (plain.size() != text.size()) {
            state.SkipWithError("round trip lost data");
            break;
        }
        benchmark::DoNotOptimize(plain);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_CompressPayload)->Arg(1 << 10)->Arg(100 << 10)->Arg(4 << 20)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_DecompressPayload)->Arg(1 << 10)->Arg(100 << 10)->Unit(benchmark::kMicrosecond);
