// The replay input and output of play and the shell: this frame's input
// recorded or read back, the automatic save at a stage's end, and the files
// the save and open dialogs chose. Replaced through Service<IReplayIo>
// (platform/service.h).
#pragma once
#include <cstdint>
#include <string>

class IReplayIo {
public:
    virtual ~IReplayIo() = default;
    // The automatic replay save; 1 when a file was written.
    virtual int AutoSave() = 0;
    // One frame of input (direction word, button word) recorded.
    virtual void RecordFrame(const int16_t words[2]) = 0;
    // One frame of input played back; 1 when the streams are exhausted.
    virtual int PlayFrame(int16_t words[2]) = 0;
    // The current (0) or previous (1) play written to a chosen file;
    // mayReplace: an existing file may be replaced. False on failure.
    virtual bool WriteChosen(int previousPlay, const std::string& path, bool mayReplace) = 0;
    // A chosen replay file read into the replay, stage and progress records;
    // false when it is refused (the reader has reported why).
    virtual bool ReadChosen(const std::string& path) = 0;
    // The replay records and files of the front end.
    static IReplayIo& Real();
};
