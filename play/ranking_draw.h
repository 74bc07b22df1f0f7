// Rankings on screen: one table as a boxed list of its twenty rows, and the
// result box of the play that the stage end shows. Text in the normal font;
// the new-record sign is the 16 x 16 cell at (16, 48) of bmp\Accessory.bmp.
#pragma once
#include <cstdint>
#include <span>

class cRankingTable;
struct DDSURFACEDATA;

// Box, title with category c's label, the used rows (place, name, value) and,
// when two or more categories are enabled for the game kind, the footer;
// the sign on row h (-1: none). Scores end at one column, x + 16 (9 + the
// digits of entry 0's score); category 2 is a time.
void DrawRankingTable(const cRankingTable& table, DDSURFACEDATA* dst, int x, int y, int c, int h);

// One row per category the stage uses and the game kind enables (every used
// one for a stage played from a file): label and value, with the sign on the
// rows whose position is not -1. Nothing when no category is shown.
void DrawStageResult(DDSURFACEDATA* dst, int x, int y, std::span<const int32_t> positions);
