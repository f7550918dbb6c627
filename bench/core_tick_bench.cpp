// The cost of kelvo's 500 ms tick in the portable core (Form1::Timer1_Tick) with background
// cleaning (Check1) off and on, beside a baseline that only reads the memory status and
// formats the figures the window shows. Every benchmark runs with the machine's real memory
// figures (argument 0) and with fixed ones (argument 1), which leaves the core's own work.
// The process snapshot of Check1 is a port here (a steady count); its Win32 cost is measured
// by process_count_bench. Each benchmark also reports its heap allocations per iteration
// ("allocs"), the usual cause when a tick of string work costs more than it should.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "base/numbers.h"
#include "core_ports.h"
#include "monitor/main_form.h"

// The allocation counter has to be global: it is fed by the replaced global operator new.
std::atomic<long long> allocations{0};

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace varnic;
using namespace varnic::bench;

// Heap allocations per iteration of the loop just run.
void ReportAllocations(benchmark::State& state, long long before) {
    const long long made = allocations.load() - before;
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(made), benchmark::Counter::kAvgIterations);
}

std::unique_ptr<MemoryProbe> MakeProbe(std::int64_t kind) {
    if (kind == 0) return std::make_unique<SystemMemoryProbe>();
    return std::make_unique<FixedMemoryProbe>();
}

// Everything Form1 needs, loaded as on a first start (the default settings: background
// cleaning on, hotkey on, the gauge as tray icon, the first rule).
struct LoadedForm {
    explicit LoadedForm(std::int64_t probeKind) : memory(MakeProbe(probeKind)) {
        form.Form_Load("");
    }
    MemoryFileSystem files;
    Utf8Codec codec;
    QuietLauncher launcher;
    std::unique_ptr<MemoryProbe> memory;
    SteadyProcessCounter processes;
    QuietDesktop desktop;
    NullGauge gauge;
    QuietHotkeySystem hotkeys;
    QuietHost host;
    kelvo::Form1 form{{files, codec, launcher, *memory, processes, desktop, desktop, desktop, desktop, desktop, gauge,
                       hotkeys},
                      host,
                      "C:\\Varnic"};
};

void Baseline(benchmark::State& state) {
    auto probe = MakeProbe(state.range(0));
    const long long before = allocations.load();
    for (auto _ : state) {
        const MemoryStatus status = probe->Read();
        const int load = static_cast<int>(status.memoryLoad);
        const std::int64_t totalMb = kelvo::Form1::Round(static_cast<double>(status.totalPhys) / 1024 / 1024);
        const std::int64_t availableMb = kelvo::Form1::Round(static_cast<double>(status.availPhys) / 1024 / 1024);
        std::string loadText = Decimal(load) + "%";
        std::string totalText = Decimal(totalMb) + "M";
        std::string availableText = Decimal(availableMb) + "M";
        std::string freeText = Decimal(100 - load) + "%";
        benchmark::DoNotOptimize(loadText);
        benchmark::DoNotOptimize(totalText);
        benchmark::DoNotOptimize(availableText);
        benchmark::DoNotOptimize(freeText);
    }
    ReportAllocations(state, before);
}

void Tick(benchmark::State& state, int check1) {
    LoadedForm loaded(state.range(0));
    loaded.form.SetCheck1(check1);
    const long long before = allocations.load();
    for (auto _ : state) {
        loaded.form.Timer1_Tick();
        benchmark::DoNotOptimize(loaded.desktop.tip);
    }
    ReportAllocations(state, before);
    if (loaded.form.Check1.value != check1) state.SkipWithError("Check1 did not keep its value");
}

void TickCheck1Off(benchmark::State& state) { Tick(state, 0); }
void TickCheck1On(benchmark::State& state) { Tick(state, 1); }

BENCHMARK(Baseline)->Arg(0)->Arg(1);
BENCHMARK(TickCheck1Off)->Arg(0)->Arg(1);
BENCHMARK(TickCheck1On)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
