// Paint operations of Xp_ProgressBar per setting of Value: the bar's own incremental drawing
// against a full repaint (Resize, then the value drawn from an empty frame) each time. A
// counting canvas records every PaintPicture and the pixels it covers. Two uses: kelvo's
// bar1 following the free memory (small steps up and down) and tarnel's pb1 rising 0 to 100.
// As kelvo's view does, a value equal to the bar's own is not set again. Paints are also split
// by rises and falls: a fall redraws the bar from its frame by design.
// Prints one JSON object; deterministic, so one run is the figure.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/progressbar/xp_progress_bar.h"

namespace {

using namespace varnic;

class CountingCanvas : public ProgressCanvas {
public:
    CountingCanvas(int width, int height) : width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Clear() override { ++clears; }
    void PaintPicture(ProgressPicture, PixelRect destination, PixelRect source) override {
        if (destination.width <= 0 || destination.height <= 0 || source.width <= 0 || source.height <= 0) return;
        ++paints;
        pixels += static_cast<std::int64_t>(destination.width) * destination.height;
    }
    std::int64_t paints = 0;
    std::int64_t pixels = 0;
    std::int64_t clears = 0;

private:
    int width_, height_;
};

class NoMessages : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string&, MessageIcon) override {
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
        std::exit(1);
    }
};

struct Counts {
    double paints = 0, pixels = 0;
    double repaintsFromScratch = 0;  // share of the settings that cleared the bar
    double risePaints = 0, fallPaints = 0;  // per rise, per fall
    int settings = 0, rises = 0, falls = 0;
};

// bar1 at 96 dpi: 4575 x 255 twips.
constexpr int kWidth = 305, kHeight = 17;

Counts Run(const std::vector<int>& values, bool fullRepaintEachTime) {
    CountingCanvas canvas(kWidth, kHeight);
    NoMessages messages;
    XpProgressBar bar(canvas, messages);
    bar.Resize();
    canvas.paints = canvas.pixels = canvas.clears = 0;
    Counts counts;
    std::int64_t risePaints = 0, fallPaints = 0;
    for (int value : values) {
        if (value == bar.Value()) continue;
        const bool rise = value > bar.Value();
        const std::int64_t before = canvas.paints;
        if (fullRepaintEachTime) bar.Resize();
        bar.SetValue(value);
        ++counts.settings;
        (rise ? counts.rises : counts.falls) += 1;
        (rise ? risePaints : fallPaints) += canvas.paints - before;
    }
    const double n = counts.settings ? counts.settings : 1;
    counts.paints = static_cast<double>(canvas.paints) / n;
    counts.pixels = static_cast<double>(canvas.pixels) / n;
    counts.repaintsFromScratch = static_cast<double>(canvas.clears) / n;
    counts.risePaints = counts.rises ? static_cast<double>(risePaints) / counts.rises : 0;
    counts.fallPaints = counts.falls ? static_cast<double>(fallPaints) / counts.falls : 0;
    return counts;
}

// Free memory as kelvo sees it: mostly unchanged, sometimes a step of one or two percent.
std::vector<int> MonitorValues(int count) {
    std::vector<int> values;
    std::uint32_t seed = 12345;
    int value = 55;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int step = static_cast<int>((seed >> 16) % 7) - 3;  // -3 .. 3
        if (step >= -2 && step <= 2) value += step;
        if (value < 25) value = 25;
        if (value > 85) value = 85;
        values.push_back(value);
    }
    return values;
}

std::vector<int> DownloadValues() {
    std::vector<int> values;
    for (int v = 0; v <= 100; ++v) values.push_back(v);
    return values;
}

void Print(const char* name, const std::vector<int>& values, bool last) {
    const Counts incremental = Run(values, false);
    const Counts full = Run(values, true);
    std::printf(
        "  \"%s\": {\"settings\": %d, \"rises\": %d, \"falls\": %d, \"incremental_paints\": %.3f, "
        "\"full_paints\": %.3f, \"incremental_pixels\": %.1f, \"full_pixels\": %.1f, "
        "\"incremental_paints_per_rise\": %.3f, \"incremental_paints_per_fall\": %.3f, \"incremental_repaints_from_scratch\": %.3f}%s\n",
        name, incremental.settings, incremental.rises, incremental.falls, incremental.paints, full.paints,
        incremental.pixels, full.pixels, incremental.risePaints, incremental.fallPaints, incremental.repaintsFromScratch, last ? "" : ",");
}

}  // namespace

int main(int argc, char** argv) {
    const int settings = argc > 1 ? std::atoi(argv[1]) : 2000;
    std::printf("{\n");
    Print("monitor", MonitorValues(settings > 0 ? settings : 1), false);
    Print("download", DownloadValues(), true);
    std::printf("}\n");
    return 0;
}
