// The ranking entry at the end of a game: the player's name, the play's
// values into the tables they beat, the ranking file saved, and the ranking
// screen shown over the stage on thRanking until the player leaves it.
#pragma once

class cScenePlay;

// Does nothing unless rankings are on for the game kind, the clear reached
// some table and it has not been entered yet. Runs on the game thread and
// returns when the ranking screen has ended.
void EnterRanking(cScenePlay& scene);

// The ranking screen's frame loop (thRanking): button 0 leaves it, button 3
// steps the shown category when two or more are enabled. Ends also on a quit
// request or the quit flag. 1.
int ShowRankingLoop(cScenePlay& scene);
