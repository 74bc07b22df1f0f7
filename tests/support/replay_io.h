// The tests' replay input and output: callbacks a test sets and clears; an
// unset one goes to the real replay records and files. It is installed
// through Service<IReplayIo> on first use and stays installed for the test
// binary's life.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/service.h"
#include "play/replay_io.h"

namespace testsupport {

class cTestReplayIo : public IReplayIo {
public:
    std::function<int()> autoSave;
    std::function<void(const int16_t words[2])> record;
    std::function<int(int16_t words[2])> play;
    std::function<bool(int previousPlay, const std::string& path, bool mayReplace)> write;
    std::function<bool(const std::string& path)> read;

    int AutoSave() override { return autoSave ? autoSave() : Real().AutoSave(); }
    void RecordFrame(const int16_t words[2]) override {
        if (record)
            record(words);
        else
            Real().RecordFrame(words);
    }
    int PlayFrame(int16_t words[2]) override { return play ? play(words) : Real().PlayFrame(words); }
    bool WriteChosen(int previousPlay, const std::string& path, bool mayReplace) override {
        return write ? write(previousPlay, path, mayReplace) : Real().WriteChosen(previousPlay, path, mayReplace);
    }
    bool ReadChosen(const std::string& path) override { return read ? read(path) : Real().ReadChosen(path); }
    // Every callback cleared.
    void Reset() { *this = cTestReplayIo(); }
};

inline cTestReplayIo& ReplayIo() {
    static cTestReplayIo* io = [] {
        static cTestReplayIo t;
        Service<IReplayIo>::Install(&t);
        return &t;
    }();
    return *io;
}

}  // namespace testsupport
