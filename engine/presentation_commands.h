// The command kinds that change what a chara looks like and what the player
// sees and hears: graphic, animation set, animations, effects, chara and
// screen effects, pictures, the screen colour, backgrounds, sound effects
// and music. Each executor runs its worker on the command's definition;
// all but the executors are also item commands.
#pragma once
#include <string>

class cChara;
class cEdFlowCmd;
class cFlowCmd;
struct DDSURFACEDATA;

void DoChangeGraphic(cChara& chara, const cEdFlowCmd& cmd);
void DoChangeAnimeSet(cChara& chara, const cEdFlowCmd& cmd);
void DoRunAnime(cChara& chara, const cEdFlowCmd& cmd);
void DoRunEffect(cChara& chara, const cEdFlowCmd& cmd);
void DoRunCharaEffect(cChara& chara, const cEdFlowCmd& cmd);
void DoRunScreenEffect(cChara& chara, const cEdFlowCmd& cmd);
void DoShowPicture(cChara& chara, const cEdFlowCmd& cmd);
void DoScreenColor(cChara& chara, const cEdFlowCmd& cmd);
void DoChangeBackground(cChara& chara, const cEdFlowCmd& cmd);
void DoPlaySe(cChara& chara, const cEdFlowCmd& cmd);
void DoPlayBgm(cChara& chara, const cEdFlowCmd& cmd);

// The stage position (top-left) of an effect of size w x h: anchor 0 the
// screen centre, 1 the chara's centre, 2 the first player's, 3 and 4 a
// screen position (4 centred), 5 and 6 a stage position (6 centred); unit
// 0 cells, 1 dots. Other anchors, and other units of anchors 3 to 6, give
// (0, 0).
void CalcEffectPos(double& x, double& y, int w, int h, const cChara& chara, int anchor, int unit, int px, int py,
                   int ox, int oy);

// Loads a picture's image into a surface (memory 1: system memory); the
// surface layer's result code. Tests replace it.
using PictureLoadFn = int (*)(DDSURFACEDATA* sd, const std::string& file, int memory);
PictureLoadFn& PictureLoader();
int LoadPictureSurface(DDSURFACEDATA* sd, const std::string& file, int memory);

void ExecChangeGraphic(cChara& chara, cFlowCmd& inst);
void ExecChangeAnimeSet(cChara& chara, cFlowCmd& inst);
void ExecRunAnime(cChara& chara, cFlowCmd& inst);
void ExecRunEffect(cChara& chara, cFlowCmd& inst);
void ExecRunCharaEffect(cChara& chara, cFlowCmd& inst);
void ExecRunScreenEffect(cChara& chara, cFlowCmd& inst);
void ExecShowPicture(cChara& chara, cFlowCmd& inst);
void ExecScreenColor(cChara& chara, cFlowCmd& inst);
void ExecChangeBackground(cChara& chara, cFlowCmd& inst);
void ExecPlaySe(cChara& chara, cFlowCmd& inst);
void ExecPlayBgm(cChara& chara, cFlowCmd& inst);
