// Results that commands leave in the running flow's two variables (word 0:
// 1 done, 2 not done). Nothing is written without running flow variables.
#pragma once
#include <cstdint>

// Word 0 = result; word 1 is left alone, except that data of version 980
// has it zeroed as well.
void WriteCmdResult(int32_t result);
// Both words.
void WriteCmdResults(int32_t word0, int32_t word1);
