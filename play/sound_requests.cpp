#include "play/sound_requests.h"

#include "base/log.h"
#include "base/main_thread.h"
#include "base/messages.h"
#include "frontend/data/game_progress.h"
#include "media/media_services.h"

namespace {
constexpr int kSystemSeCount = 17;
constexpr int kPlayMusicSlot = 6;
}  // namespace

void PlaySe(int n) {
    RecordMediaCall(Format("PlaySe %d", n));
    SendMainWindowMessage(UM_PLAYSE, n);
}

void PlayUserSe(int n) {
    if (n == 0) return;
    PlaySe(n + kSystemSeCount);
}

void RequestBgm(int entry, int repeat) {
    g_Progress.m_bBgmRepeat = repeat != 0 ? 1 : 0;
    RecordMediaCall(Format("RequestBgm %d %d", entry, g_Progress.m_bBgmRepeat));
    SendMainWindowMessage(UM_PLAYBGM, kPlayMusicSlot, entry);
}
