// Pictures: images of the Picture table shown at a screen or stage position,
// optionally following a chara, for a time or until removed. The play
// scene's list keeps them in display order; the run-time surface list and
// its slot list hold, at the same positions, each picture's surface and its
// file.
#pragma once
#include <cstdint>

class cScenePlay;
struct DDSURFACEDATA;

// What the picture command hands to a picture.
struct PictureRequest {
    int32_t nPicture = 0;
    int32_t nPosKind = 0;  // 0 screen centre, 1 the user chara, 2 the hero, 3 screen point,
                           // 4 screen cell centre, 5 stage point, 6 stage cell centre
    int32_t nUnit = 0;     // kinds 3 to 6: 0 cells of 32 dots, 1 dots
    int32_t nX = 0, nY = 0;
    int32_t nOffsetX = 0, nOffsetY = 0;
    int32_t nImageWidth = 0, nImageHeight = 0;
    int32_t bSwapAnchoring = 0;
    int32_t nLayer = 0;
    int32_t nPercent = 100;
    int32_t bSeparateY = 0;
    int32_t nPercentY = 100;
    int32_t bMirrorX = 0, bMirrorY = 0;
    int32_t nDisplayMode = 0;  // 2: shown for nFrames frames
    int32_t nFrames = 0;
    int32_t bRunWhileFrozen = 0;
    int32_t nCharaKey = 0;
    int32_t bHasId = 0, nPictureId = 0;
};

class cPicture {
public:
    int32_t m_nPicture = 0;
    int32_t m_nPosKind = 0;
    int32_t m_nUnit = 0;
    int32_t m_nX = 0, m_nY = 0;
    int32_t m_nOffsetX = 0, m_nOffsetY = 0;
    int32_t m_nWidth = 0, m_nHeight = 0;
    int32_t m_bMirrorX = 0, m_bMirrorY = 0;  // Direct3D only
    int32_t m_bStretched = 0;
    int32_t m_nLayer = 0;
    int32_t m_nDisplayMode = 0;
    int32_t m_nCharaKey = 0;
    int32_t m_nFramesLeft = 0;
    int32_t m_bRunWhileFrozen = 0;
    int32_t m_bSwapAnchoring = 0;
    int32_t m_bPlaced = 0, m_nPlacedX = 0, m_nPlacedY = 0;
    int32_t m_bHasId = 0, m_nPictureId = 0;
    double m_dFollowX = 0.0, m_dFollowY = 0.0;  // last known centre of the followed chara

    void Init(const PictureRequest& r);
    // Draws one frame from the picture's surface; 1 when it is over.
    int Draw(DDSURFACEDATA* dst, DDSURFACEDATA* surface, int frozen);
    // The screen position of this frame; the first call of a picture that
    // keeps its place captures it.
    void Locate(int& a, int& b);
    // Stage position of a chara-following picture (kinds 1 and 2).
    void GetPicturePosition(int& x, int& y);
};

// The pictures of one layer drawn in list order; a finished picture is
// removed with its surface (released) and its slot record.
void DrawPictures(cScenePlay& scene, int layer, int frozen);
// Empties the live play scene's picture list (the surfaces are released by
// the caller).
void ClearPictures();
// Removes the picture at position i with its surface and slot record.
void RemovePictureAt(cScenePlay& scene, long long i);
