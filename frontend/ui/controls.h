// Control records: a dialog describes each control it uses by a record that
// knows the control's id, its kind and, for data controls, the variable it
// edits. The dialog binds its records in its initialisation, fills the
// controls from the variables at once (InitControls), routes each command to
// the record of the control that sent it, and reads the controls back into
// the variables at once (ReadControls) when the user confirms.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/error_box.h"
#include "base/quit.h"
#include "frontend/ui/edit_limiter.h"
#include "platform/cp932.h"

namespace ui {

class cDialog;
class cDialogWindow;
struct cWidget;

enum ControlKind : int { kKindStatic = 0, kKindButton = 1, kKindEdit = 3, kKindCheckBox = 5, kKindRadio = 6 };

class cControl {
public:
    virtual ~cControl() = default;
    virtual void Enable(bool value);
    virtual void Fill() {}
    virtual void Read() {}
    virtual void OnChange() {}
    virtual intptr_t OnNotify(uintptr_t, intptr_t) { return 0; }
    virtual intptr_t OnScroll(int, intptr_t) { return 0; }
    virtual void OnKillFocus() {}
    virtual void OnKey(int, intptr_t, bool) {}

    void Bind(cDialog* dialog, int id);

    cWidget* m_hWnd = nullptr;
    cDialog* m_lpDialog = nullptr;
    cDialogWindow* m_hDialog = nullptr;
    int m_nKind = 0;
    uint16_t m_nId = 0;
};

class cStaticControl : public cControl {
public:
    explicit cStaticControl(int bindId = 0) : m_nBindId(bindId) { m_nKind = kKindStatic; }
    int m_nBindId;
};

class cButtonControl : public cControl {
public:
    explicit cButtonControl(int bindId = 0) : m_nBindId(bindId) { m_nKind = kKindButton; }
    int m_nBindId;
};

// 0 in the three ints means the defaults 4096, 1024 and 32.
struct EditParam {
    uint16_t id = 0;
    std::string* text = nullptr;
    int bufLen = 0, maxCols = 0, maxLines = 0;
    int countChars = 0;
};

class cEditControl : public cControl {
public:
    explicit cEditControl(const EditParam& param = {}) : m_Param(param) { m_nKind = kKindEdit; }
    void Bind(cDialog* dialog, const EditParam& param);
    void Fill() override;
    void Read() override;
    void OnChange() override;  // the limiter
    int ReadLength() const;

    EditParam m_Param;
    std::string* m_lpText = nullptr;
    int m_nBufLen = 0, m_nMaxCols = 0, m_nMaxLines = 0;
    int m_bCountChars = 0;
    int m_bBinding = 0;
    std::string m_strPrev;
    int m_nPrevSelStart = 0, m_nPrevSelEnd = 0;
    int m_bBusy = 0;
};

class cCheckBoxControl : public cControl {
public:
    cCheckBoxControl(int bindId = 0, int* value = nullptr) : m_nBindId(bindId), m_lpValue(value) {
        m_nKind = kKindCheckBox;
    }
    void Fill() override;
    void Read() override;
    int m_nBindId;
    int* m_lpValue;
};

class cRadioControl : public cControl {
public:
    cRadioControl(int bindId = 0, int* value = nullptr, int nValue = 0)
        : m_nBindId(bindId), m_lpValue(value), m_nValue(nValue) {
        m_nKind = kKindRadio;
    }
    void Fill() override;
    void Read() override;
    int m_nBindId;
    int* m_lpValue;
    int m_nValue;
};

// The text of a dialog item, read into at most `length` bytes with the NUL
// (a 5120-byte buffer at most) / set.
void GetItemText(cDialogWindow* hDialog, int id, std::string& out, int length);
void SetItemText(cDialogWindow* hDialog, int id, const std::string& text);

// The first record with the id. None: a debug box, the quit flag and a close
// request; the caller skips what it meant to do.
template <class Vec>
auto FindControlById(Vec& records, int id) -> decltype(&records[0]) {
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].m_nId == id) return &records[i];
    DebugErrorBoxf("%s", (SJ("コントロールID 【") + std::to_string(static_cast<unsigned>(id)) + SJ("】 が見つかりません！")).c_str());
    SetQuitAndClose();
    return nullptr;
}

}  // namespace ui
