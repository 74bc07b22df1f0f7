// The status bar at the top of the play screen: total score, stage score,
// HP and SP gauges and lives, spread evenly over its width.
#pragma once

class cScenePlay;

// The width of a shown status item (0..4).
int StatusItemWidth(int item);
// The x of each shown item with the even gap; returns the gap.
int StatusItemLayout(int xs[5]);
void DrawStatus(cScenePlay& scene);
