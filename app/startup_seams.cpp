#include "app/startup_seams.h"

#include "app/files.h"
#include "app/log.h"
#include "records/data_record.h"

namespace seam {

namespace {

// The data file opens and its version word is one this program reads. The
// reason of a failure goes to the report.
bool CheckDataFile(const std::string& path) {
    cDataFileIn in;
    if (in.Open(path)) return true;
    if (!LastDataFileError().empty()) ReportLogf("%s: %s", path.c_str(), LastDataFileError().c_str());
    return false;
}

// user_data\Boot.dat: two int32 fields.
class cBootChoice : public cRecord<cBootChoice> {
public:
    int32_t m_nDrawMode = 1;
    int32_t m_bNoAsk = 0;
    template <class F>
    void Fields(F& f) {
        f.Field("m_nDrawMode", m_nDrawMode);
        f.Field("m_bNoAsk", m_bNoAsk);
    }
};

}  // namespace

void BuildArrangeParamTable() {}

bool LoadDatabase() {
    for (int i = PATH_DB_ANIMESET; i <= PATH_DB_BGM; i += 2)
        if (!CheckDataFile(g_PathTable[i])) return false;
    return true;
}
void CopyWorkingEffectTables() {}
void CompileAnimeSteps() {}
void CompileEffectSteps() {}
void PrepareCharaEffectSlots() {}
void PrepareScrEffectSlots() {}
int DatabaseSoundCount() { return 0; }

void LoadBootData(int& drawMode, int& noAsk) {
    cBootChoice boot;
    boot.LoadFile(g_PathTable[PATH_BOOT_FILE]);
    drawMode = boot.m_nDrawMode;
    noAsk = boot.m_bNoAsk;
}

void SetSceneManagerValues(int, int, int) {}
void SetWindowed(bool) {}
bool Running() { return false; }
void StartFreeStageRun(bool, bool) {}

void SetCaption(const std::string&) {}
void AddSizingFrame() {}
void ApplyWindowPlacement(const WindowPlacementPlan&) {}
void ShowWindow(bool) {}

void* MainWindowHandle() { return nullptr; }
void SetPresentByCopy(bool) {}
void RedrawScreen() {}
bool CreateFonts() { return true; }
bool CreateNumberFonts() { return true; }
void DestroyFonts() {}
bool LoadPaletteCycle(int) { return true; }

void LoadUserFiles() {}
void ApplyReplayIniKeys() {}
int SoundEffectVolumeLevel() { return 10; }
int PaletteCycleNumber() { return 0; }
void SaveUserFilesAtEnd() {}

void DS_BgmInit(int) {}
void FillSoundEffectTables(int) {}
bool DS_Init() { return true; }
void DS_LoadAllSE(int) {}
void DS_End() {}
void DS_BgmEnd() {}

bool LoadWorldMap(const std::string& path) { return CheckDataFile(path); }
bool LoadCommonPalette(const std::string& path) { return CheckDataFile(path); }
void ResetProgress() {}

bool StartStageFile(const std::string& path, int) { return CheckDataFile(path); }

void DeleteAllScenes() {}
void UnhookKeyboardHooks() {}

}  // namespace seam
