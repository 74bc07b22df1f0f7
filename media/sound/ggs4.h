// Binding of the outside MIDI library. No such library exists on Linux, so
// Load finds nothing and MIDI goes to the program's own player; a test can
// install a fake set of functions to drive this branch.
#pragma once
#include <cstdint>

struct Ggs4Api {
    int (*OpenDevice)(int deviceId, void* window) = nullptr;
    void (*CloseDevice)() = nullptr;
    int (*Play)(int option, int listId, int skipBeginning, int skipEnding, int loopCount) = nullptr;
    void (*Stop)(int fadeOutTime) = nullptr;
    void (*Pause)() = nullptr;
    void (*SetMasterVolume)(int volume) = nullptr;
    void (*GetPlayerStatus)(void* status, int size) = nullptr;
    int (*AddListFromFileA)(const char* fileName, int option, int listId) = nullptr;
};

class cGgs4Dll {
public:
    static cGgs4Dll& Instance();  // made on first use
    // 0 when the library's functions are bound, 1 when there is no library.
    int Load();
    // Closes the device and forgets the library.
    static void Release();

    int OpenDevice(int deviceId, void* window);
    void CloseDevice();
    int Play(int option, int listId, int skipBeginning, int skipEnding, int loopCount);
    void Stop(int fadeOutTime);
    void Pause();
    void SetMasterVolume(int volume);
    void GetPlayerStatus(void* status, int size);
    int AddListFromFileA(const char* fileName, int option, int listId);

    // Tests: the functions Load binds from now on (null: none).
    static void SetFakeBinding(const Ggs4Api* api);

private:
    bool m_bLoaded = false;
    Ggs4Api m_Api;
};
