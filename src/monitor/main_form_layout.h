// The designed state of the main window's controls: captions, tooltips and places in twips.
#pragma once

#include "base/language.h"

namespace varnic::kelvo {

class Form1;
void LayOut(Form1& form, Language language);

}  // namespace varnic::kelvo
