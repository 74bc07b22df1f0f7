#include "play/replay_io.h"

#include "frontend/data/game_progress.h"
#include "frontend/replay/replay.h"
#include "frontend/replay/replay_file.h"
#include "play/replay_save.h"
#include "records/stage.h"

namespace {

class cReplayIo : public IReplayIo {
public:
    int AutoSave() override { return ::AutoSaveReplay(); }
    void RecordFrame(const int16_t words[2]) override { ::RecordReplayFrame(words); }
    int PlayFrame(int16_t words[2]) override { return ::PlayReplayFrame(words); }
    bool WriteChosen(int previousPlay, const std::string& path, bool mayReplace) override {
        return WriteReplayOf(previousPlay, path, mayReplace) != 0;
    }
    bool ReadChosen(const std::string& path) override {
        return ReadReplayFile(g_Replay, path, g_Stage, g_StageStart, g_Progress) != 0;
    }
};

}  // namespace

IReplayIo& IReplayIo::Real() {
    static cReplayIo io;
    return io;
}
