// The designed state of the main window's controls: captions, tooltips and places in twips.
#pragma once

namespace varnic::kelvo {

class Form1;
void LayOut(Form1& form);

}  // namespace varnic::kelvo
