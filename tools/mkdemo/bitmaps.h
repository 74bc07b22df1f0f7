#pragma once
#include <string>
#include <vector>

#include "tools/mkdemo/canvas.h"

namespace demo {

struct DemoBitmap {
    std::string strPath;  // CP932 path under the game folder
    cCanvas canvas;
};

std::vector<DemoBitmap> DemoBitmaps();

}  // namespace demo
