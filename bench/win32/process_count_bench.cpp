// The process count of background cleaning, per call, taken five ways for the same number:
// kelvo's count (the process list in a kept buffer), a process-only Toolhelp snapshot, the
// all-inclusive snapshot (processes, threads, heaps, modules), EnumProcesses and
// GetPerformanceInfo's ProcessCount. The ways are timed in rotating order in each round so
// that all see the same machine. Prints one JSON object with the microseconds per call of
// every round; exits 1 when the ways disagree on a still machine.
//   process_count_bench.exe [rounds] [calls per round]
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/win32/process_counter.h"

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Way {
    const char* name;
    std::function<int()> count;
    std::vector<double> microseconds;
};

int CountWithEnumProcesses() {
    std::vector<DWORD> ids(1024);
    for (;;) {
        DWORD bytes = 0;
        if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return 0;
        // A full array may have left processes out: ask again with more room.
        if (bytes < ids.size() * sizeof(DWORD)) return static_cast<int>(bytes / sizeof(DWORD));
        ids.resize(ids.size() * 2);
    }
}

int CountWithPerformanceInfo() {
    PERFORMANCE_INFORMATION info{};
    info.cb = sizeof info;
    return GetPerformanceInfo(&info, sizeof info) ? static_cast<int>(info.ProcessCount) : 0;
}

// Every way must see the same processes. Wine's services may still be starting or ending
// while the rounds run, so the counts taken during timing can differ by a process or two: the
// check takes the answers back to back, bracketed by the first way, until the machine is still.
bool WaysAgree(std::vector<Way>& ways) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int before = ways[0].count();
        bool same = before > 0;
        for (std::size_t i = 1; i < ways.size(); ++i) same = ways[i].count() == before && same;
        if (same && ways[0].count() == before) return true;
        Sleep(100);
    }
    for (Way& way : ways) std::fprintf(stderr, "%s counts %d\n", way.name, way.count());
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 7;
    const int calls = argc > 2 ? _wtoi(argv[2]) : 200;
    if (rounds < 1 || calls < 1) return 2;
    varnic::win32::Win32ProcessCounter kelvo;
    std::vector<Way> ways{
        {"kept_list_us", [&kelvo] { return kelvo.CountInProcessList(); }, {}},
        {"process_only_us", [] { return varnic::win32::CountProcessesInSnapshot(TH32CS_SNAPPROCESS); }, {}},
        {"full_us", [] { return varnic::win32::CountProcessesInSnapshot(TH32CS_SNAPALL); }, {}},
        {"enum_processes_us", CountWithEnumProcesses, {}},
        {"performance_info_us", CountWithPerformanceInfo, {}},
    };
    int processes = 0;
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < ways.size(); ++i) {
            Way& way = ways[(i + round) % ways.size()];
            const double start = Seconds();
            for (int call = 0; call < calls; ++call) processes = way.count();
            way.microseconds.push_back((Seconds() - start) * 1e6 / calls);
        }
    }
    const bool agree = WaysAgree(ways);
    std::printf("{\n  \"calls_per_round\": %d,\n  \"processes\": %d,\n  \"agree\": %s", calls, processes,
                agree ? "true" : "false");
    for (const Way& way : ways) {
        std::printf(",\n  \"%s\": [", way.name);
        for (std::size_t i = 0; i < way.microseconds.size(); ++i)
            std::printf("%s%.2f", i ? ", " : "", way.microseconds[i]);
        std::printf("]");
    }
    std::printf("\n}\n");
    return processes > 0 && agree ? 0 : 1;
}
