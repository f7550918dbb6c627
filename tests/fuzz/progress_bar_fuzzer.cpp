// Xp_ProgressBar driven by an arbitrary sequence of property settings and size changes on
// a control of arbitrary size (0 to 2000 by 0 to 200 pixels). Every picture it paints must
// land inside the control and come from inside its picture; a destination of no width or no
// height paints nothing and may lie anywhere.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "controls/progressbar/progress_artwork.h"
#include "controls/progressbar/xp_progress_bar.h"
#include "fuzz_support.h"

namespace varnic::fuzz {
namespace {

bool Empty(const PixelRect& r) { return r.width <= 0 || r.height <= 0; }

bool Within(const PixelRect& r, int width, int height) {
    return r.x >= 0 && r.y >= 0 && static_cast<long long>(r.x) + r.width <= width &&
           static_cast<long long>(r.y) + r.height <= height;
}

class CheckedCanvas final : public ProgressCanvas {
public:
    int width = 0, height = 0;
    long long paints = 0;

    int Width() const override { return width; }
    int Height() const override { return height; }
    void Clear() override {}
    void PaintPicture(ProgressPicture picture, PixelRect destination, PixelRect source) override {
        const bool known = picture.set == PictureSet::img || picture.set == PictureSet::blank
                               ? picture.index == 0
                               : picture.index >= 0 && picture.index < kTilesPerLook;
        FUZZ_CHECK(known);
        if (Empty(destination)) return;
        ++paints;
        const PictureSize size = SizeOf(picture);
        if (!Within(destination, width, height) || Empty(source) || !Within(source, size.width, size.height)) {
            std::fprintf(stderr, "control %dx%d: picture %d/%d from {%d,%d,%d,%d} of %dx%d to {%d,%d,%d,%d}\n", width,
                         height, static_cast<int>(picture.set), picture.index, source.x, source.y, source.width,
                         source.height, size.width, size.height, destination.x, destination.y, destination.width,
                         destination.height);
            FUZZ_CHECK(!"a picture painted outside the control or from outside its picture");
        }
    }
};

class StoredDesign final : public PropertyBag {
public:
    std::map<std::string, std::int32_t> values;
    std::int32_t ReadProperty(const std::string& name, std::int32_t defaultValue) const override {
        auto found = values.find(name);
        return found == values.end() ? defaultValue : found->second;
    }
    void WriteProperty(const std::string& name, std::int32_t value, std::int32_t defaultValue) override {
        if (value != defaultValue) values[name] = value;
    }
};

// Mostly values near the usual range, now and then any 32-bit value.
std::int32_t SomeValue(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: return input.ConsumeIntegral<std::int32_t>();
        case 1: return input.ConsumeIntegralInRange(-5, 5);
        default: return input.ConsumeIntegralInRange(0, 1000);
    }
}

}  // namespace
}  // namespace varnic::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnic;
    using namespace varnic::fuzz;
    FuzzedDataProvider input(data, size);
    CheckedCanvas canvas;
    canvas.width = input.ConsumeIntegralInRange(0, 2000);
    canvas.height = input.ConsumeIntegralInRange(0, 200);
    QuietMessages messages;
    XpProgressBar bar(canvas, messages);
    if (input.ConsumeBool()) bar.Resize();  // as the window shows it

    for (int step = 0; step < 400 && input.remaining_bytes() > 0; ++step) {
        const int refusedBefore = messages.shown;
        const std::int32_t min = bar.Min(), max = bar.Max(), value = bar.Value();
        const int action = input.ConsumeIntegralInRange(0, 9);
        switch (action) {
            case 0: bar.SetMin(SomeValue(input)); break;
            case 1: bar.SetMax(SomeValue(input)); break;
            case 2:
            case 3:
            case 4: bar.SetValue(SomeValue(input)); break;
            case 5: bar.SetStyle(input.ConsumeIntegralInRange(-1, 2)); break;
            case 6: bar.SetProgressLook(input.ConsumeIntegralInRange(-2, 9)); break;
            case 7:
                canvas.width = input.ConsumeIntegralInRange(0, 2000);
                canvas.height = input.ConsumeIntegralInRange(0, 200);
                bar.Resize();
                break;
            case 8: {
                StoredDesign design;
                bar.WriteProperties(design);
                XpProgressBar copy(canvas, messages);
                copy.ReadProperties(design);
                FUZZ_CHECK(copy.Min() == bar.Min() && copy.Max() == bar.Max() && copy.Value() == bar.Value());
                FUZZ_CHECK(copy.Style() == bar.Style() && copy.ProgressLook() == bar.ProgressLook());
                copy.Resize();
                break;
            }
            default:  // a run of rising values, as a download reports them
                for (std::int64_t v = bar.Value(), end = std::min<std::int64_t>(bar.Max(), v + 150); v <= end; ++v)
                    bar.SetValue(static_cast<std::int32_t>(v));
                break;
        }
        // A refused setting changes nothing, and the range stays a range from 0 up.
        if (action <= 4 && messages.shown != refusedBefore) FUZZ_CHECK(bar.Min() == min && bar.Max() == max && bar.Value() == value);
        FUZZ_CHECK(bar.Min() >= 0 && bar.Min() <= bar.Max());
    }
    return 0;
}
