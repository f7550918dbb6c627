// The faces of the Chinese texts, by FontFace. The English texts use the system's message font.
#pragma once

#include "base/form_controls.h"

namespace varnic {

inline constexpr const char* ChineseFace(FontFace face) { return face == FontFace::kTitle ? "幼圆" : "宋体"; }

}  // namespace varnic
