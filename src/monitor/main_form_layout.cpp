#include "monitor/main_form_layout.h"

#include "base/web_addresses.h"
#include "monitor/main_form.h"

namespace varnic::kelvo {
namespace {

template <typename Control>
void Place(Control& control, int left, int top, int width, int height, const char* tooltip = "") {
    control.place = {left, top, width, height};
    control.tooltip = tooltip;
}

}  // namespace

void LayOut(Form1& f) {
    // The figures row and the free-percentage row.
    Place(f.Label2_1, 120, 2040, 1335, 255);
    f.Label2_1.caption = "物理内存总数：";
    Place(f.Label1, 1440, 2025, 855, 255);
    f.Label1.caption = "512M";
    Place(f.Label2_4, 2400, 2040, 1335, 255);
    f.Label2_4.caption = "可用物理内存：";
    Place(f.Label5, 3720, 2025, 855, 255);
    f.Label5.caption = "500M";
    Place(f.Label2_0, 4800, 2040, 1095, 255);
    f.Label2_0.caption = "已用百分比：";
    Place(f.Label6, 5880, 2025, 615, 255);
    f.Label6.caption = "55%";
    Place(f.Label3, 120, 2400, 1455, 255);
    f.Label3.caption = "可用内存百分比：";
    Place(f.Label10, 1560, 2400, 495, 255);
    f.Label10.caption = "50%";

    // Image buttons and the check box of the lower half.
    Place(f.Label8, 120, 2640, 615, 615, "点击打开帮助和支持中心");
    Place(f.Command3, 960, 2640, 615, 615, "打开或关闭高级设置");
    Place(f.Label7, 120, 3360, 615, 615, "启动在线更新，检查是否有最新版本");
    Place(f.Label9, 960, 3360, 615, 615, "下载软件新版");
    Place(f.Command2, 2040, 2880, 2070, 420, "只要点我就能免除烦恼，快点吧！");
    f.Command2.caption = "后台全自动运行";
    Place(f.Command1, 4440, 2880, 2175, 420);
    f.Command1.caption = "现在立即清理";
    Place(f.Check1, 1920, 3600, 1575, 270, "选择后程序才会后台自动清理，强烈建议钩选！");
    f.Check1.caption = "自动全部清理";
    Place(f.Label15, 3480, 3600, 3015, 270, "点击可以自定义清理规则");
    f.Label15.caption = "当前清理规则：";
    Place(f.Label4, 0, 4080, 6585, 255, "点击打开我的Blog，给我留言。");
    f.Label4.caption = web::kContactLine;

    // The advanced panel, folded in at start; its controls are placed within it.
    Place(f.f1, 0, 9000, 6615, 2175);
    f.f1.caption = "高级设置";
    f.f1.visible = false;
    Place(f.Label12, 480, 360, 1695, 255);
    f.Label12.caption = "系统托盘图标显示";
    Place(f.op1, 2280, 360, 1935, 255);
    f.op1.caption = "齿轮图标";
    Place(f.op2, 4800, 360, 1215, 255);
    f.op2.caption = "剩余内存";
    f.op2.value = true;
    Place(f.Label13, 480, 840, 1695, 255);
    f.Label13.caption = "后台运行清理规则";
    Place(f.cb1, 2280, 840, 3615, 300);
    Place(f.Label14, 480, 1320, 1095, 255);
    f.Label14.caption = "热键设置";
    Place(f.Check2, 2280, 1320, 1575, 270);
    f.Check2.caption = "启用清理一键通";
    Place(f.Label11, 5040, 1320, 495, 255);
    f.Label11.caption = "Ctrl+";
    Place(f.Text1, 5640, 1320, 255, 270);
    f.Text1.text = "E";
    Place(f.Label16, 4320, 1800, 1815, 255);
    f.Label16.caption = "自定义清理规则";

    f.tt = {
        {"show", "显示窗口"},        {"dangqianrule", "dqqlgz"},
        {"fengexian2", "-"},         {"updatemenu", "在线更新"},
        {"cleanchip", "清除剪贴板信息"}, {"nowyouhua", "立即清理内存"},
        {"fengexian1", "-"},         {"exitt", "退出"},
    };
}

}  // namespace varnic::kelvo
