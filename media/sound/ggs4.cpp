#include "media/sound/ggs4.h"

namespace {
cGgs4Dll* g_lpGgs4 = nullptr;
const Ggs4Api* g_lpFake = nullptr;
constexpr int kMissing = 15;  // the result of a function that is not bound
}  // namespace

cGgs4Dll& cGgs4Dll::Instance() {
    if (!g_lpGgs4) g_lpGgs4 = new cGgs4Dll();
    return *g_lpGgs4;
}

int cGgs4Dll::Load() {
    if (m_bLoaded) return 0;
    if (!g_lpFake) return 1;
    m_Api = *g_lpFake;
    m_bLoaded = true;
    return 0;
}

void cGgs4Dll::Release() {
    if (!g_lpGgs4) return;
    g_lpGgs4->CloseDevice();
    delete g_lpGgs4;
    g_lpGgs4 = nullptr;
}

int cGgs4Dll::OpenDevice(int deviceId, void* window) {
    return m_Api.OpenDevice ? m_Api.OpenDevice(deviceId, window) : kMissing;
}
void cGgs4Dll::CloseDevice() {
    if (m_Api.CloseDevice) m_Api.CloseDevice();
}
int cGgs4Dll::Play(int option, int listId, int skipBeginning, int skipEnding, int loopCount) {
    return m_Api.Play ? m_Api.Play(option, listId, skipBeginning, skipEnding, loopCount) : kMissing;
}
void cGgs4Dll::Stop(int fadeOutTime) {
    if (m_Api.Stop) m_Api.Stop(fadeOutTime);
}
void cGgs4Dll::Pause() {
    if (m_Api.Pause) m_Api.Pause();
}
void cGgs4Dll::SetMasterVolume(int volume) {
    if (m_Api.SetMasterVolume) m_Api.SetMasterVolume(volume);
}
void cGgs4Dll::GetPlayerStatus(void* status, int size) {
    if (m_Api.GetPlayerStatus) m_Api.GetPlayerStatus(status, size);
}
int cGgs4Dll::AddListFromFileA(const char* fileName, int option, int listId) {
    return m_Api.AddListFromFileA ? m_Api.AddListFromFileA(fileName, option, listId) : kMissing;
}

void cGgs4Dll::SetFakeBinding(const Ggs4Api* api) { g_lpFake = api; }
