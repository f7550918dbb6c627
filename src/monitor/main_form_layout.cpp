#include "monitor/main_form_layout.h"

#include "monitor/main_form.h"
#include "monitor/monitor_texts.h"

namespace varnic::kelvo {
namespace {

template <typename Control>
void Place(Control& control, int left, int top, int width, int height, std::string_view tooltip = {}) {
    control.place = {left, top, width, height};
    control.tooltip = tooltip;
}

}  // namespace

void LayOut(Form1& f, Language language) {
    using enum MonitorText;
    auto text = [language](MonitorText name) { return std::string(Text(name, language)); };
    f.caption = text(kCaption);

    // The figures row and the free-percentage row.
    Place(f.Label2_1, 120, 2040, 1335, 255);
    f.Label2_1.caption = text(kTotalMemory);
    Place(f.Label1, 1440, 2025, 855, 255);
    f.Label1.caption = Fill(text(kMegabytes), {"512"});
    Place(f.Label2_4, 2400, 2040, 1335, 255);
    f.Label2_4.caption = text(kAvailableMemory);
    Place(f.Label5, 3720, 2025, 855, 255);
    f.Label5.caption = Fill(text(kMegabytes), {"500"});
    Place(f.Label2_0, 4800, 2040, 1095, 255);
    f.Label2_0.caption = text(kMemoryLoad);
    Place(f.Label6, 5880, 2025, 615, 255);
    f.Label6.caption = Fill(text(kPercent), {"55"});
    Place(f.Label3, 120, 2400, 1455, 255);
    f.Label3.caption = text(kFreePercentage);
    Place(f.Label10, 1560, 2400, 495, 255);
    f.Label10.caption = Fill(text(kPercent), {"50"});

    // Image buttons and the check box of the lower half.
    Place(f.Label8, 120, 2640, 615, 615, text(kHelpTip));
    Place(f.Command3, 960, 2640, 615, 615, text(kPanelTip));
    Place(f.Label7, 120, 3360, 615, 615, text(kUpdateTip));
    Place(f.Label9, 960, 3360, 615, 615, text(kDownloadTip));
    Place(f.Command2, 2040, 2880, 2070, 420, text(kRunInBackgroundTip));
    f.Command2.caption = text(kRunInBackground);
    Place(f.Command1, 4440, 2880, 2175, 420);
    f.Command1.caption = text(kCleanNow);
    Place(f.Check1, 1920, 3600, 1575, 270, text(kAutoCleanTip));
    f.Check1.caption = text(kAutoClean);
    Place(f.Label15, 3480, 3600, 3015, 270, text(kCurrentRuleTip));
    f.Label15.caption = Fill(text(kCurrentRule), {""});
    Place(f.Label4, 0, 4080, 6585, 255, text(kContactTip));
    f.Label4.caption = text(kContactLine);

    // The advanced panel, folded in at start; its controls are placed within it.
    Place(f.f1, 0, 9000, 6615, 2175);
    f.f1.caption = text(kAdvancedSettings);
    f.f1.visible = false;
    Place(f.Label12, 480, 360, 1695, 255);
    f.Label12.caption = text(kTrayIconShows);
    Place(f.op1, 2280, 360, 1935, 255);
    f.op1.caption = text(kGearIcon);
    Place(f.op2, 4800, 360, 1215, 255);
    f.op2.caption = text(kFreeMemory);
    f.op2.value = true;
    Place(f.Label13, 480, 840, 1695, 255);
    f.Label13.caption = text(kBackgroundRule);
    Place(f.cb1, 2280, 840, 3615, 300);
    Place(f.Label14, 480, 1320, 1095, 255);
    f.Label14.caption = text(kHotkey);
    Place(f.Check2, 2280, 1320, 1575, 270);
    f.Check2.caption = text(kUseHotkey);
    Place(f.Label11, 5040, 1320, 495, 255);
    f.Label11.caption = text(kCtrlPlus);
    Place(f.Text1, 5640, 1320, 255, 270);
    f.Text1.text = "E";
    Place(f.Label16, 4320, 1800, 1815, 255);
    f.Label16.caption = text(kCustomizeRules);

    // "dqqlgz" is the designed caption of the current rule's entry, replaced at start-up.
    f.tt = {
        {"show", text(kMenuShow)},  {"dangqianrule", "dqqlgz"},
        {"fengexian2", "-"},        {"updatemenu", text(kMenuUpdate)},
        {"cleanchip", text(kMenuClearClipboard)}, {"nowyouhua", text(kMenuCleanNow)},
        {"fengexian1", "-"},        {"exitt", text(kMenuExit)},
    };
}

}  // namespace varnic::kelvo
