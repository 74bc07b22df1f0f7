#pragma once
#include <string>
#include <vector>

#include "tools/mkdemo/canvas.h"

namespace demo {

struct DemoBitmap {
    std::string strPath;  // CP932 path under the game folder
    cCanvas canvas;
};

// Every picture of the demo; the title picture carries `gameName` (capital
// letters, digits and spaces).
std::vector<DemoBitmap> DemoBitmaps(const char* gameName);

}  // namespace demo
