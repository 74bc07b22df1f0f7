// Surfaces and the bitmap table: creation of empty and file-backed surfaces
// on both back ends, texture size rules, mirrors and aliases, release and
// the surface lists.
#pragma once
#include <list>
#include <string>
#include <vector>

#include "media/gfx/dd_state.h"

// Result codes of DDCreateSurfaceFromFile (besides a failed call's HRESULT).
enum : int { SURF_OK = 0, SURF_CREATE_ERR = 4, SURF_LOADIMAGE_ERR = 8, SURF_SETCOLORKEY_ERR = 9 };

void DDAllocSurfacePart(DDSURFACEDATA* sd);
void DDAdjustTextureSize(int& width, int& height);
bool DDCheckTextureSize(int width, int height);

bool DDCreateSurface(DDSURFACEDATA* sd, int width, int height, int colourKey, int memory, int textureType,
                     int aliasFlag, int reload);
int DDCreateSurfaceFromFile(DDSURFACEDATA* sd, const std::string& fileName, int colourKey, int bpp, int memory,
                            int textureType, int aliasFlag, int buildIndexMap, int mirrorW, int mirrorH, int reload);
bool DDCheckSurfaceError(int code);
bool DDLoadSurfaces(DDSURFACEDATA* table, const int* slotNumbers, int count);

bool DDAddSurface(std::vector<DDSURFACEDATA>& surfaces, std::vector<BMPSLOT>& slots, int width, int height,
                  int colourKey, int memory, int textureType, int aliasFlag);
bool DDAddSurfaceToList(std::list<DDSURFACEDATA>& surfaces, std::list<BMPSLOT>& slots, int width, int height,
                        int colourKey, int memory, int textureType, int aliasFlag);
bool DDInsertSurface(std::list<DDSURFACEDATA>& surfaces, std::list<BMPSLOT>& slots, int index, int width, int height,
                     int colourKey, int memory, int textureType, int aliasFlag);
int DDRemoveSurface(std::list<DDSURFACEDATA>& surfaces, std::list<BMPSLOT>& slots, DDSURFACEDATA* sd);

void DDReleaseSurfaceData(DDSURFACEDATA* sd);
inline void DDReleaseSurface(DDSURFACEDATA* sd) { DDReleaseSurfaceData(sd); }
void DDReleaseSurfaceVector(std::vector<DDSURFACEDATA>& v);
void DDReleaseSurfaceList(std::list<DDSURFACEDATA>& l);

int DDCheckBitmapSize(int* out, const std::string& fileName, int maxWidth, int maxHeight);
bool CopyBitmap(DDSURFACEDATA* sd, const std::string& fileName, int bpp, int buildIndexMap, int mirrorW, int mirrorH);
bool DDCreateMirror(DDSURFACEDATA* dst, DDSURFACEDATA* src, int mirrorW, int mirrorH);
void DDAdjustMirror(DDSURFACEDATA* src, int& sx, int& sy, int& sw, int& sh);
void DDResolveAlias(DDSURFACEDATA*& sd);
void LinkSurfaceAliases();
