// The process count of background cleaning, per call: the process-only Toolhelp snapshot that
// kelvo takes against the all-inclusive one (processes, threads, heaps, modules). The two are
// timed in alternating rounds so that both see the same machine. Prints one JSON object with
// the microseconds per call of every round.
//   process_count_bench.exe [rounds] [calls per round]
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/win32/process_counter.h"

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Microseconds per call; `count` receives the last answer.
template <typename Counter>
double Time(Counter counter, int calls, int& count) {
    const double start = Seconds();
    for (int i = 0; i < calls; ++i) count = counter();
    return (Seconds() - start) * 1e6 / calls;
}

void PrintList(const char* name, const std::vector<double>& values, bool last) {
    std::printf("  \"%s\": [", name);
    for (std::size_t i = 0; i < values.size(); ++i) std::printf("%s%.2f", i ? ", " : "", values[i]);
    std::printf("]%s\n", last ? "" : ",");
}

// Both snapshots must see the same processes. Wine's services may still be starting or ending
// while the rounds run, so the counts taken during timing can differ by a process or two: the
// check takes the two answers back to back, bracketed by the first, until the machine is still.
template <typename ProcessOnly, typename Full>
bool SnapshotsAgree(ProcessOnly processOnly, Full full) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int before = processOnly();
        const int inFull = full();
        const int after = processOnly();
        if (before > 0 && before == after && before == inFull) return true;
        Sleep(100);
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 7;
    const int calls = argc > 2 ? _wtoi(argv[2]) : 200;
    if (rounds < 1 || calls < 1) return 2;
    auto processOnly = [] { return varnic::win32::CountProcessesInSnapshot(TH32CS_SNAPPROCESS); };
    auto full = [] { return varnic::win32::CountProcessesInFullSnapshot(); };
    std::vector<double> processOnlyTimes, fullTimes;
    int processes = 0, processesInFull = 0;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            processOnlyTimes.push_back(Time(processOnly, calls, processes));
            fullTimes.push_back(Time(full, calls, processesInFull));
        } else {
            fullTimes.push_back(Time(full, calls, processesInFull));
            processOnlyTimes.push_back(Time(processOnly, calls, processes));
        }
    }
    std::printf("{\n  \"calls_per_round\": %d,\n  \"processes\": %d,\n  \"processes_in_full\": %d,\n", calls, processes,
                processesInFull);
    PrintList("process_only_us", processOnlyTimes, false);
    PrintList("full_us", fullTimes, true);
    std::printf("}\n");
    return processes > 0 && SnapshotsAgree(processOnly, full) ? 0 : 1;
}
