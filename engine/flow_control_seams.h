// Calls of the flow-control, message, warp and vanish commands into parts
// that are not built yet, each named after the call it stands for. Tests
// may replace them; the part that builds the call deletes its seam and
// points the callers at the real function.
#pragma once
#include <array>
#include <cstdint>
#include <string>

class cChara;
class cEdFlowCmd;
class cInput;
class cMessageWindow;  // the in-game message window (only pointed at here)
class cScenePlay;
class cShot;

// What a message command hands to its window: the text, whether it is
// laid out with variables and choices, and the twenty values in the order
// the window takes them: anchor, p18, p1, p2, p3, p4, p5, p10, wait mode
// (p6), display frames, block (p8), owner ID, chain flag, variables (p9),
// p11, p16, p14, has ID (p12), ID (p13), choices (p19).
struct MessageWindowArgs {
    std::string text;
    std::array<int32_t, 20> values{};
};

namespace seam {

// Stand-in until flow triggering lands: the direction channel (0..9) held
// on an input record (the stand-in: 0, no direction).
using GetInputDirectionFn = int (*)(cInput& input);
extern GetInputDirectionFn GetInputDirection;

// Stand-in until shots land: takes a shot out of its group list, the links
// of its owner and target, and the scene's shot list, and destroys it (the
// stand-in does just that).
using EraseShotFn = void (*)(cScenePlay& scene, cShot& shot);
extern EraseShotFn EraseShot;

// Stand-in until the play scene's states land: the scene is closing (the
// stand-in: no).
using IsPlayClosingFn = bool (*)(const cScenePlay& scene);
extern IsPlayClosingFn IsPlayClosing;

// Stand-ins until the message window lands: the scene's live window with
// the ID (none), a window taken out of the list and deleted (nothing),
// whether the text laid out as the arguments say has the window's size
// (no), the window set up again in place (nothing), and a new window built
// from the arguments and put into the list: in the place of `replacing`,
// which goes, or at the end (the stand-in builds none: null).
using FindMessageWindowFn = cMessageWindow* (*)(cScenePlay& scene, int id);
extern FindMessageWindowFn FindMessageWindow;
using RemoveMessageWindowFn = void (*)(cScenePlay& scene, cMessageWindow* window);
extern RemoveMessageWindowFn RemoveMessageWindow;
using MessageWindowFitsFn = bool (*)(cMessageWindow& window, const MessageWindowArgs& args);
extern MessageWindowFitsFn MessageWindowFits;
using ReinitMessageWindowFn = void (*)(cMessageWindow& window, const MessageWindowArgs& args);
extern ReinitMessageWindowFn ReinitMessageWindow;
using AddMessageWindowFn = cMessageWindow* (*)(cScenePlay& scene, const MessageWindowArgs& args,
                                               cMessageWindow* replacing);
extern AddMessageWindowFn AddMessageWindow;

// Stand-ins until the nested frame loops land: the scene's wait record
// (kind, wait for a button, time-out frames, no start delay, and whether
// it takes the window's choice list) (nothing), the nested loop on thPause
// run to its end (none runs), and the row chosen in the last choice window
// with its value; false when the wait record holds no choices (the
// stand-in: false).
using InitDisplayRequestFn = void (*)(cScenePlay& scene, int kind, int waitButton, int timeout, int noDelay,
                                      int withChoices);
extern InitDisplayRequestFn InitDisplayRequest;
using RunPauseLoopFn = void (*)(cScenePlay& scene);
extern RunPauseLoopFn RunPauseLoop;
using ChosenChoiceFn = bool (*)(cScenePlay& scene, int32_t& row, int32_t& value);
extern ChosenChoiceFn ChosenChoice;

// Stand-in until replay recording lands: a chosen row appended to the
// replay's choice list (nothing kept).
using RecordReplayChoiceFn = void (*)(int32_t row);
extern RecordReplayChoiceFn RecordReplayChoice;

// Stand-ins until the presentation commands land: their workers as the item
// commands call them (each stand-in does nothing). The music command's
// item form is given the command only.
using PresentationWorkerFn = void (*)(cChara& chara, const cEdFlowCmd& cmd);
extern PresentationWorkerFn DoChangeGraphic;
extern PresentationWorkerFn DoChangeAnimeSet;
extern PresentationWorkerFn DoRunAnime;
extern PresentationWorkerFn DoRunEffect;
extern PresentationWorkerFn DoRunCharaEffect;
extern PresentationWorkerFn DoRunScreenEffect;
extern PresentationWorkerFn DoShowPicture;
extern PresentationWorkerFn DoScreenColor;
extern PresentationWorkerFn DoChangeBackground;
extern PresentationWorkerFn DoPlaySe;
using DoPlayBgmFn = void (*)(const cEdFlowCmd& cmd);
extern DoPlayBgmFn DoPlayBgm;

// Puts every seam above back to its stand-in.
void ResetFlowControlSeams();

}  // namespace seam
