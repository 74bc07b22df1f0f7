// The title scene: the title picture and a menu of up to seven items from
// the game's system data (new story, continue, challenge, free play, replay,
// options, end), the story slot lists of a new or continued game, and the
// hand-over to the scene that the chosen kind of game starts with.
#pragma once
#include "frontend/scenes/scene_menu.h"
#include "records/game_type.h"

class cInput;

// The title's actions (index into the system data's title menu). The chosen
// action becomes the game type.
enum eTitleAction : int {
    TITLE_NEWGAME = GAMETYPE_NEWGAME,
    TITLE_CONTINUE = GAMETYPE_CONTINUE,
    TITLE_CHALLENGE = GAMETYPE_CHALLENGE,
    TITLE_FREE = GAMETYPE_FREE,
    TITLE_REPLAY = GAMETYPE_REPLAY,
    TITLE_OPTIONS = GAMETYPE_OPTIONS,
    TITLE_END = 6,
};

class cSceneTitle : public cSceneMenu {
public:
    static constexpr int kMaxItems = 7;
    static constexpr int kPanelX = 192, kPanelY = 240;  // menu panel, top-left
    static constexpr int kListX = 160, kListY = 160;    // slot list, top-left
    static constexpr int kMaxListRows = 10;

    cSceneTitle();
    void Init() override;

    // Asks the main thread for the open-stage dialog and waits for it: 1
    // when a stage was chosen (and started), 0 when the dialog was cancelled.
    static int WaitOpenStage();

    int m_nItems = 0;                     // visible rows
    int m_aItemAction[kMaxItems] = {};    // action of each visible row
    int m_nListTop = 0;                   // first visible row of the slot list
    int m_nListRows = 0;                  // visible slot rows
    int m_nPanelX = kPanelX;

private:
    void UpdateMenu();
    void UpdateNewGame();
    void UpdateLoadGame();
    void BuildMenuPage();
    void DrawMenuPage();
    void Draw();
    void DrawSlotScreen();
    // The slot list's rows, and its cursor move when `moves`.
    void MoveInSlotList(const cInput& in, bool moves);
    // Cancel goes back to the menu; otherwise the list is drawn.
    void CancelOrDrawSlots(const cInput& in);
    // Back from a slot list to the main menu row.
    void BackToMenu();
    void RenderPages() override { DrawMenuPage(); }
    void DrawScreen() override { Draw(); }
    static bool UsesPictures();
};

// The progress of a new story game: reset, the world map's start, world 0,
// the story lives (the life in play is not counted; 999999 when unlimited).
void NewGameReset();
