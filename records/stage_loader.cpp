#include "records/stage_loader.h"

#include "base/error_box.h"
#include "base/files.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "base/thread.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "records/stage.h"

namespace {

constexpr int kHighestStageNumber = 1000;

std::function<void()> s_fnLoaderHook;

struct LoadJob {
    cStage* pStage = nullptr;
    std::string strPath;
    std::string strError;  // why the read failed (the loader's LastDataFileError)
};

unsigned LoaderProc(void* arg) {
    LoadJob& job = *static_cast<LoadJob*>(arg);
    if (s_fnLoaderHook) s_fnLoaderHook();
    if (ThreadQuitRequested()) {
        job.strError = "reading abandoned: asked to quit";
        return 0;
    }
    if (job.pStage->LoadStageFile(job.strPath))
        job.pStage->m_bLoaded = 1;
    else
        job.strError = LastDataFileError();
    return 0;
}

// Keeps the calling thread responsive until thLoad has ended. False when the
// caller is to give up (the window closed under a main-thread caller, or a
// game-side caller asked to quit).
bool WaitForLoader() {
    const auto finished = [] { return thLoad.HasFinished(); };
    if (IsMainThread()) {
        while (!finished()) {
            if (!PumpNestedEvents()) return false;
            platform::SleepMs(1);
        }
        return true;
    }
    return ThreadWaitUntil(finished);
}

}  // namespace

void SetStageLoaderHookForTests(std::function<void()> hook) { s_fnLoaderHook = std::move(hook); }

int LoadStageWithMessagePump(const std::string& path, bool numbered, cStage* startCopy, cEdChara* heroOut) {
    cStage& stage = g_Stage;
    stage.m_bNumbered = numbered ? 1 : 0;
    std::string file = path;
    if (numbered && !FindLatestNumberedFileStr(file, path, g_ExtTable.at(EXT_STG4).c_str(), kHighestStageNumber))
        return 0;
    ToRelativePathStr(file, true);  // stays as it is when it cannot be made relative
    stage.m_strPath = file;

    if (!CheckStageFileTail(stage.m_strPath)) return 0;

    stage.m_bLoaded = 0;
    LoadJob job{&stage, stage.m_strPath, {}};
    bool finished = false;
    if (thLoad.Start(LoaderProc, &job)) {
        finished = WaitForLoader();
        thLoad.Exit();  // asks an unfinished read to give up and waits for it
    } else {
        job.strError = "the loader thread could not be started";
        finished = true;
    }
    if (!finished) {
        DebugLog("msg.message == WM_QUIT");
        return 0;
    }

    if (!stage.m_bLoaded) {
        if (!job.strError.empty()) ReportLogfDebug("%s", job.strError.c_str());
        ErrorBoxf(SJ("ステージファイル %s の読み込みに失敗しました！").c_str(), stage.m_strPath.c_str());
        return 0;
    }
    const int hero = stage.FindHeroIndex();
    if (hero == -1) {
        ErrorBox(SJ("主人公が配置されていないのでプレイできません！"));
        SetQuitAndClose();
        return 0;
    }
    if (startCopy) startCopy->TakeStartCopyOf(stage);
    if (heroOut) *heroOut = stage.m_vecPlacedChara[static_cast<size_t>(hero)];
    return 1;
}
