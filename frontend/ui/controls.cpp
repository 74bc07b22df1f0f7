#include "frontend/ui/controls.h"

#include "frontend/ui/dialog.h"
#include "frontend/ui/ui_messages.h"

namespace ui {

void GetItemText(cDialogWindow* hDialog, int id, std::string& out, int length) {
    cWidget* w = GetDlgItem(hDialog, id);
    out = ReadItemText(w ? w->text : std::string(), length);
}

void SetItemText(cDialogWindow* hDialog, int id, const std::string& text) {
    if (cWidget* w = GetDlgItem(hDialog, id)) hDialog->SetText(*w, text);
}

void cControl::Enable(bool value) {
    if (m_hWnd) m_hWnd->enabled = value;
}

void cControl::Bind(cDialog* dialog, int id) {
    m_lpDialog = dialog;
    m_hDialog = dialog ? dialog->m_hWnd : nullptr;
    m_nId = static_cast<uint16_t>(id);
    m_hWnd = GetDlgItem(m_hDialog, m_nId);
}

void cEditControl::Bind(cDialog* dialog, const EditParam& param) {
    m_Param = param;
    cControl::Bind(dialog, param.id);
    m_lpText = param.text;
    m_nBufLen = param.bufLen ? param.bufLen : 4096;
    m_nMaxCols = param.maxCols ? param.maxCols : 1024;
    m_nMaxLines = param.maxLines ? param.maxLines : 32;
    m_bCountChars = param.countChars;
    const std::string bound = m_lpText ? *m_lpText : std::string();
    SetItemText(m_hDialog, m_nId, bound);
    m_strPrev = bound;
    m_bBinding = 1;
    OnChange();
    m_bBinding = 0;
}

int cEditControl::ReadLength() const {
    return EditReadLength({m_nBufLen, m_nMaxCols, m_nMaxLines, m_bCountChars != 0});
}

void cEditControl::Fill() {
    if (m_lpText) SetItemText(m_hDialog, m_nId, *m_lpText);
}

void cEditControl::Read() {
    if (m_lpDialog && m_lpDialog->m_bFilling) return;
    if (m_lpText) GetItemText(m_hDialog, m_nId, *m_lpText, ReadLength());
}

void cEditControl::OnChange() {
    if (m_bBusy) return;
    m_bBusy = 1;
    if (cWidget* w = GetDlgItem(m_hDialog, m_nId)) {
        m_nPrevSelStart = w->selStart;
        m_nPrevSelEnd = w->selEnd;
        LimitedEdit r = LimitEdit(m_strPrev, w->text, w->selStart, w->selEnd,
                                  {m_nBufLen, m_nMaxCols, m_nMaxLines, m_bCountChars != 0}, KeyHeld(VK_BACK),
                                  m_bBinding != 0);
        SetItemText(m_hDialog, m_nId, r.text);
        if (!m_bBinding) m_hDialog->SetSel(*w, r.selStart, r.selEnd);
        m_strPrev = r.text;
    }
    m_bBusy = 0;
}

void cCheckBoxControl::Fill() {
    if (m_hWnd && m_lpValue) m_hWnd->checked = *m_lpValue;
}

void cCheckBoxControl::Read() {
    if (m_lpDialog && m_lpDialog->m_bFilling) return;
    if (m_hWnd && m_lpValue) *m_lpValue = m_hWnd->checked;
}

void cRadioControl::Fill() {
    if (m_hWnd && m_lpValue) m_hWnd->checked = *m_lpValue == m_nValue ? 1 : 0;
}

void cRadioControl::Read() {
    if (m_lpDialog && m_lpDialog->m_bFilling) return;
    if (m_hWnd && m_lpValue && m_hWnd->checked) *m_lpValue = m_nValue;
}

void cDialog::InitControls() {
    m_bFilling = 1;
    for (cControl* c : m_vecBound) c->Fill();
    m_bFilling = 0;
}

void cDialog::ReadControls() {
    for (cControl* c : m_vecBound) c->Read();
}

void cDialog::OnCommand(uintptr_t wParam, intptr_t) {
    const unsigned id = LoWord(wParam), code = HiWord(wParam);
    for (cControl* c : m_vecBound) {
        if (c->m_nId != id) continue;
        if (c->m_nKind == 2 || c->m_nKind == kKindEdit) {
            if (code == EN_UPDATE) {
                c->OnChange();
                break;
            }
            if (code == EN_KILLFOCUS) {
                c->OnKillFocus();
                break;
            }
        } else if (c->m_nKind == 7) {
            if (code == 1) {
                c->OnChange();
                break;
            }
        } else if (c->m_nKind == 8) {
            if (code == 1) {
                c->OnChange();
                break;
            }
            if (code == 5) {
                c->OnKillFocus();
                break;
            }
        }
    }
    // Kind 8 records (none in this program) would be redrawn here.
}

}  // namespace ui
