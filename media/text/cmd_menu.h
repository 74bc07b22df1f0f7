// Operations on a list of menu command entries (cCmd): the enabled ones are
// the rows shown, in list order.
#pragma once
#include <vector>

#include "records/cmd.h"

struct DDSURFACEDATA;
class cSystemData;

int CountEnabledCmds(const std::vector<cCmd>& list);
// Index of the n-th enabled entry (n from 0); 0 and the debug error box
// when there is none.
int GetCmdNum(int n, const std::vector<cCmd>& list);
// The boxed list of enabled entries in the normal font, rows 16 pixels
// apart, top-left at (x, y); the 16-pixel column at the left is left for the
// caller's cursor. Nothing when every enabled label is empty.
void DrawCmdMenu(DDSURFACEDATA* dst, int x, int y, const std::vector<cCmd>& list);
// The x at which DrawCmdMenu centres its box on centreX.
int CmdMenuCenterX(int centreX, const std::vector<cCmd>& list);

// Draws the system data's texts first .. first + count - 1 as lines with the
// second font onto the back buffer (a blank column first when cursor is set).
void DrawMenuStrings(const cSystemData& sys, int x, int y, int first, int count, int cursor);
