// Plain-value models of the controls that the windows hold: what a control shows (caption,
// text, value, selection), whether it is visible and enabled, its tooltip and its place in
// twips. The forms own these; the Win32 views create real controls from them and reflect them.
#pragma once

#include <string>
#include <vector>

namespace varnic {

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The look of a text: the title face (the about window's product name) or the face of every
// other text, in points at the screen's DPI. Which face that is depends on the language.
enum class FontFace { kText, kTitle };

struct FontStyle {
    FontFace face = FontFace::kText;
    double points = 9;
    bool bold = false;
    bool underline = false;
    bool operator==(const FontStyle&) const = default;
};

struct ControlBase {
    TwipsRect place;
    std::string tooltip;
    bool visible = true;
    bool enabled = true;
};

struct LabelModel : ControlBase {
    std::string caption;
};

struct ButtonModel : ControlBase {  // image buttons and plain buttons
    std::string caption;
};

struct CheckBoxModel : ControlBase {
    std::string caption;
    int value = 0;  // 0 unchecked, 1 checked
};

struct OptionModel : ControlBase {
    std::string caption;
    bool value = false;
};

struct TextBoxModel : ControlBase {
    std::string text;
};

struct ComboBoxModel : ControlBase {
    std::vector<std::string> items;
    int listIndex = -1;  // -1: nothing selected
    std::string Text() const {
        return listIndex >= 0 && listIndex < static_cast<int>(items.size()) ? items[listIndex] : std::string();
    }
};

struct FrameModel : ControlBase {
    std::string caption;
};

struct MenuEntryModel {
    std::string name;     // the entry's design name, e.g. "nowyouhua"
    std::string caption;  // "-" for a separator
    bool IsSeparator() const { return caption == "-"; }
};

}  // namespace varnic
