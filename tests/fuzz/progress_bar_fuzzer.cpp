// Xp_ProgressBar driven by any run of designs, values and resizes (up to 2000 x 200 pixels): every
// picture lands inside the control, comes from inside its picture, and tiles are whole at y 3.
#include <fuzzer/FuzzedDataProvider.h>

#include "controls/progressbar/xp_progress_bar.h"
#include "fuzz_support.h"
#include "progress_bar_recorder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    varnic::fakes::ProgressBarRecorder view;
    varnic::fakes::CallLog log;
    varnic::fakes::FakeSystem messages{log};
    varnic::XpProgressBar bar(view, messages);
    auto pick = [&](int low, int high) { return in.ConsumeIntegralInRange(low, high); };
    auto value = [&] { return in.ConsumeBool() ? in.ConsumeIntegral<std::int32_t>() : pick(-5, 999); };
    auto resize = [&] { view.width = pick(0, 2000), view.height = pick(0, 200); };
    for (int step = 0; step < 400 && in.remaining_bytes() > 0; ++step) {
        const int action = pick(0, 3);
        if (action == 0)
            bar.ReadProperties({{"Min", value()}, {"Max", value()}, {"Value", value()}, {"Style", pick(-1, 2)},
                                {"ProgressLook", pick(-2, 9)}});
        if (action == 1) resize(), bar.Resize();
        if (action == 2) bar.SetValue(value());
        for (std::int64_t v = bar.Value(), end = v + 150; action == 3 && v <= end; ++v)  // as a download reports
            bar.SetValue(static_cast<std::int32_t>(v));
        if (!view.faults.empty()) std::fprintf(stderr, "%s\n", view.faults.c_str()), std::abort();  // what broke
        view.drawn.clear();
    }
    return 0;
}
