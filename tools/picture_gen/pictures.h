// The five built-in pictures of the toolbox, drawn from code.
#pragma once

#include <vector>

#include "tools/picture_gen/canvas.h"

namespace pictures {

Canvas ElementSheet();         // 205 x 260 RGBA: frame pieces at the rectangles the frame renderer cuts
Canvas ControlSheet();         // 160 x 55 on magenta: push-button, check-box and radio cells
Canvas DocumentIcon();         // 32 x 32: a blank page with a folded corner
Canvas ToolboxIcon(int size);  // a cyan-blue tile with a white toolbox, hinted for each size
Canvas DefaultSkin();          // 388 x 401 opaque: a light landscape in pale blue-green

constexpr int kToolboxIconSizes[] = {64, 48, 32, 24, 16};

}  // namespace pictures
