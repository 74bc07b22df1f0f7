#include "engine/engine_seams.h"

namespace seam {

void ResetEngineSeams() {}

}  // namespace seam
