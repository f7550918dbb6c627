#include "controls/win32/text_font.h"

#include <cmath>
#include <cstddef>

#include "base/font_texts.h"
#include "controls/win32/screen_units.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

constexpr double kMessageFontPoints = 9;  // the size the windows' plain texts were laid out for

// The system's message font at the screen's DPI; Tahoma when the system does not say.
LOGFONTW MessageFont() {
    // The size of the structure up to lfMessageFont, which every system accepts (XP refuses the
    // larger one of later headers).
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0] && metrics.lfMessageFont.lfHeight)
        return metrics.lfMessageFont;
    LOGFONTW fallback{};
    fallback.lfHeight = -MulDiv(8, ScreenDpi(), 72);
    fallback.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(fallback.lfFaceName, L"Tahoma", LF_FACESIZE);
    return fallback;
}

}  // namespace

GdiObject<HFONT> CreateTextFont(Language language, const FontStyle& style, int dpi) {
    LOGFONTW font{};
    if (language == Language::kEnglish) {
        font = MessageFont();
        // The message font's height is in the screen's pixels; a larger style grows it in proportion.
        const double height = std::abs(font.lfHeight) * (style.points / kMessageFontPoints) * dpi / ScreenDpi();
        font.lfHeight = -static_cast<LONG>(std::lround(height));
        font.lfWidth = 0;
    } else {
        font.lfHeight = -static_cast<LONG>(std::lround(style.points * dpi / 72.0));
        font.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(font.lfFaceName, Wide(ChineseFace(style.face)).c_str(), LF_FACESIZE);
    }
    font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FALSE;
    font.lfUnderline = style.underline;
    font.lfStrikeOut = FALSE;
    return GdiObject<HFONT>(CreateFontIndirectW(&font));
}

}  // namespace varnic::win32
