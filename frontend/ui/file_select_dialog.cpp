#include "frontend/ui/file_select_dialog.h"

#include "base/files.h"
#include "base/log.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/controls.h"
#include "frontend/ui/message_dialog.h"
#include "frontend/ui/ui_messages.h"
#include "platform/cp932.h"
#include "platform/folder_opener.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "records/data_record.h"

namespace ui {

cFileSelectDialog* g_lpFileSelectDialog = nullptr;
cFileDialog* g_lpFileDialog = nullptr;

namespace {

constexpr int kPathBuffer = 260;

bool IsSeparatorAt(const std::string& s, size_t i) {
    return s[i] == '/' || (s[i] == '\\' && !platform::IsTrailByteAt(s, i));
}

// The last separator of a CP932 path, or npos.
size_t LastSeparator(const std::string& s) {
    size_t at = std::string::npos;
    for (size_t i = 0; i < s.size(); i += platform::Cp932CharLen(s, i))
        if (platform::Cp932CharLen(s, i) == 1 && (s[i] == '/' || s[i] == '\\')) at = i;
    return at;
}

bool HasSeparator(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (IsSeparatorAt(s, i)) return true;
    return false;
}

// An absolute CP932 path with "." and ".." resolved, ending in a backslash.
std::string NormaliseFolder(const std::string& abs) {
    std::vector<std::string> parts;
    std::string cur;
    auto flush = [&] {
        if (cur == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!cur.empty() && cur != ".") {
            parts.push_back(cur);
        }
        cur.clear();
    };
    for (size_t i = 0; i < abs.size();) {
        size_t n = platform::Cp932CharLen(abs, i);
        if (n == 1 && (abs[i] == '\\' || abs[i] == '/'))
            flush();
        else
            cur.append(abs, i, n);
        i += n;
    }
    flush();
    std::string out = "\\";
    for (const std::string& p : parts) out += p + "\\";
    return out;
}

// The entry of a folder whose name equals `name` but for case.
bool FindEntry(const std::string& folder, const std::string& name, platform::DirEntry* found) {
    if (name.empty() || name == "." || name == "..") return false;
    const std::u16string key = platform::WindowsNameKey(name);
    for (const platform::DirEntry& e : platform::ListDir(folder, "*"))
        if (platform::WindowsNameKey(e.name) == key) {
            *found = e;
            return true;
        }
    return false;
}

}  // namespace

std::string FolderShown(const std::string& absFolder) {
    std::string rel = absFolder;
    if (!ToRelativePathStr(rel, true) || rel == ".." || rel.compare(0, 3, "..\\") == 0) return absFolder;
    return rel.empty() ? std::string(".\\") : rel;
}

// --- the open and save dialog ---

cFileDialog::cFileDialog(cWindow* owner, bool save, const std::string& title, const FileFilter& filter,
                         const std::string& defaultExt, int length)
    : cInstanceDialog(0, owner),
      m_bSave(save),
      m_strTitle(title),
      m_Filter(filter),
      m_strDefaultExt(defaultExt),
      m_nLength(length) {
    g_lpFileDialog = this;
    const bool english = EnglishSetting() != 0;
    auto text = [english](const char* ja, const char* en) { return english ? std::string(en) : SJ(ja); };
    m_Template.style = WS_CAPTION;
    m_Template.caption = title;
    m_Template.w = 340;
    m_Template.h = 271;
    m_Template.items = {
        {ID_FOLDER, ItemKind::kStatic, 0, "", 6, 6, 328, 9},
        {ID_LIST, ItemKind::kList, kStyleTabStop | kStyleGroup, "", 6, 18, 328, 200},
        {ID_NAME_LABEL, ItemKind::kStatic, kStyleGroup, text("ファイル名:", "File name:"), 6, 228, 62, 9},
        {ID_NAME, ItemKind::kEdit, kStyleTabStop | kStyleGroup, "", 70, 225, 196, 13},
        {ID_TYPE_LABEL, ItemKind::kStatic, kStyleGroup, text("ファイルの種類:", "Files of type:"), 6, 246, 62, 9},
        {ID_TYPE, ItemKind::kStatic, 0, filter.description, 70, 246, 196, 9},
        {ID_OK, ItemKind::kButton, kStyleTabStop | kStyleGroup | kStyleDefault,
         save ? text("保存", "Save") : text("開く", "Open"), 274, 224, 60, 15},
        {ID_CANCEL, ItemKind::kButton, kStyleTabStop, text("キャンセル", "Cancel"), 274, 243, 60, 15},
    };
}

intptr_t cFileDialog::OnMessage(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    // Backspace in the list goes up a folder (the key reaches the dialog
    // through its keyboard hook).
    if (msg == WM_KEYDOWN && wParam == VK_BACK && hwnd) {
        cWidget* f = hwnd->Focused();
        if (f && f->id == ID_LIST) GoUp();
    }
    return cInstanceDialog::OnMessage(hwnd, msg, wParam, lParam);
}

void cFileDialog::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnInitDialog(wParam, lParam);
    m_strResult.clear();
    m_bReplace = 0;
    std::string folder = m_strStartFolder.empty() ? std::string(".\\") : m_strStartFolder;
    if (!ToAbsolutePathStr(folder)) folder = "\\";
    folder = NormaliseFolder(folder);
    // A folder that does not exist: its nearest existing parent.
    while (folder != "\\" && !platform::IsDirectory(folder)) folder = NormaliseFolder(folder + "..");
    ShowFolder(folder);
    if (m_hWnd) {
        SetItemText(m_hWnd, ID_NAME, m_strStartName);
        m_hWnd->SetFocusId(ID_NAME);
    }
    m_bInitDone = 1;
}

void cFileDialog::ShowFolder(const std::string& absFolder) {
    m_strFolder = absFolder;
    m_vecRows.clear();
    if (m_strFolder != "\\") m_vecRows.push_back({"..", kUp});
    std::vector<std::string> leftOut;
    const auto fits = [this](const std::string& name) {
        return static_cast<int>(m_strFolder.size() + name.size()) < m_nLength;
    };
    for (const platform::DirEntry& e : platform::ListDir(m_strFolder, "*", &leftOut))
        if (e.isDir && fits(e.name)) m_vecRows.push_back({e.name, kFolder});
    for (const platform::DirEntry& e : platform::ListDir(m_strFolder, m_Filter.pattern))
        if (!e.isDir && fits(e.name)) m_vecRows.push_back({e.name, kFile});
    for (const std::string& name : leftOut)
        DebugLogf("file dialog: \"%s\" left out (no CP932 form or a backslash in the name)", name.c_str());
    if (!m_hWnd) return;
    SetItemText(m_hWnd, ID_FOLDER, FolderShown(m_strFolder));
    if (cWidget* list = m_hWnd->Item(ID_LIST)) {
        list->items.clear();
        for (const Row& r : m_vecRows) list->items.push_back(r.kind == kFolder ? r.name + "\\" : r.name);
        list->curSel = -1;
        list->top = 0;
    }
}

void cFileDialog::GoUp() {
    if (m_strFolder == "\\") return;
    ShowFolder(NormaliseFolder(m_strFolder + ".."));
}

void cFileDialog::Activate(int row) {
    if (row < 0 || row >= static_cast<int>(m_vecRows.size())) return;
    const Row r = m_vecRows[row];
    if (r.kind == kUp) {
        GoUp();
    } else if (r.kind == kFolder) {
        ShowFolder(m_strFolder + r.name + "\\");
    } else {
        Accept(r.name);
    }
}

void cFileDialog::Accept(const std::string& typed) {
    if (typed.empty()) return;
    if (typed == "..") {
        GoUp();
        SetItemText(m_hWnd, ID_NAME, "");
        return;
    }
    // The typed name is taken in the folder shown (or as an absolute path).
    std::string folder = m_strFolder, name = typed;
    if (HasSeparator(typed)) {
        size_t sep = LastSeparator(typed);
        std::string dir = typed.substr(0, sep + 1);
        name = typed.substr(sep + 1);
        folder = NormaliseFolder(IsAbsolutePath(dir) ? dir : m_strFolder + dir);
    }
    const bool english = EnglishSetting() != 0;
    auto notFound = [&] {
        UiMessageBox(Format(english ? "%s\nFile not found." : SJ("%s\nファイルが見つかりません。").c_str(), typed.c_str()),
                     m_strTitle, platform::MB_OK | platform::MB_ICONWARNING);
    };
    if (!platform::IsDirectory(folder)) {
        notFound();
        return;
    }
    platform::DirEntry entry;
    if (name.find_first_of("*?") != std::string::npos) {  // a pattern: the list's filter
        m_Filter.pattern = name;
        ShowFolder(folder);
        return;
    }
    if (name.empty()) {  // "sub\": the folder itself
        ShowFolder(folder);
        SetItemText(m_hWnd, ID_NAME, "");
        return;
    }
    if (FindEntry(folder, name, &entry) && entry.isDir) {
        ShowFolder(folder + entry.name + "\\");
        SetItemText(m_hWnd, ID_NAME, "");
        return;
    }
    if (m_bSave && name.find('.') == std::string::npos && !m_strDefaultExt.empty()) {
        name += "." + m_strDefaultExt;
        if (FindEntry(folder, name, &entry) && entry.isDir) {
            ShowFolder(folder + entry.name + "\\");
            SetItemText(m_hWnd, ID_NAME, "");
            return;
        }
    }
    const bool exists = FindEntry(folder, name, &entry);
    const std::string path = folder + (exists ? entry.name : name);
    if (static_cast<int>(path.size()) >= m_nLength) {
        notFound();
        return;
    }
    if (!m_bSave) {
        if (!exists) {
            notFound();
            return;
        }
    } else if (exists) {
        const char* pattern = english ? "%s already exists.\nDo you want to replace it?"
                                      : SJ("%s は既に存在します。\n上書きしますか？").c_str();
        int answer = UiMessageBox(Format(pattern, entry.name.c_str()), m_strTitle,
                                  platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2);
        if (answer != IDYES) return;
        m_bReplace = 1;
    }
    m_strResult = path;
    Close(1);
}

void cFileDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnCommand(wParam, lParam);
    const unsigned id = LoWord(wParam), code = HiWord(wParam);
    cWidget* list = m_hWnd ? m_hWnd->Item(ID_LIST) : nullptr;
    if (id == ID_LIST && list) {
        const int row = list->curSel;
        if (code == LBN_SELCHANGE && row >= 0 && row < static_cast<int>(m_vecRows.size()) &&
            m_vecRows[row].kind == kFile)
            SetItemText(m_hWnd, ID_NAME, m_vecRows[row].name);
        else if (code == LBN_DBLCLK)
            Activate(row);
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == ID_CANCEL) {
        Close(0);
    } else if (id == ID_OK) {
        // Enter in the list on ".." or a folder enters it.
        cWidget* f = m_hWnd ? m_hWnd->Focused() : nullptr;
        if (f && f == list && list->curSel >= 0 && list->curSel < static_cast<int>(m_vecRows.size()) &&
            m_vecRows[list->curSel].kind != kFile) {
            Activate(list->curSel);
            return;
        }
        std::string typed;
        GetItemText(m_hWnd, ID_NAME, typed, kPathBuffer);
        Accept(typed);
    }
}

int OpenFileDialog(cWindow* owner, std::string& path, int length, const std::string& initialFolder,
                   const std::string& title, const FileFilter& filter, const std::string& defaultExt) {
    path.clear();
    cFileDialog dialog(owner, false, title, filter, defaultExt, length);
    dialog.m_strStartFolder = initialFolder;
    int r = dialog.DoModal(0);
    if (r == 1) path = dialog.m_strResult;
    return r;
}

int SaveFileDialog(cWindow* owner, std::string& path, const std::string& initialFolder, const std::string& title,
                   const FileFilter& filter, const std::string& defaultExt, int keepName, int* replace) {
    if (replace) *replace = 0;
    if (!keepName) path.clear();
    cFileDialog dialog(owner, true, title, filter, defaultExt, kPathBuffer);
    dialog.m_strStartFolder = initialFolder;
    dialog.m_strStartName = path;
    // A name holding a folder opens the dialog there, its name part offered.
    if (HasSeparator(path)) {
        size_t sep = LastSeparator(path);
        dialog.m_strStartFolder = path.substr(0, sep + 1);
        dialog.m_strStartName = path.substr(sep + 1);
    }
    int r = dialog.DoModal(0);
    if (r == 1) {
        path = dialog.m_strResult;
        if (replace) *replace = dialog.m_bReplace;
    }
    return r;
}

// --- the file-selection dialog ---

namespace {

const DialogTemplate& FileSelectTemplate() {
    static const DialogTemplate t = [] {
        DialogTemplate d;
        d.style = WS_CAPTION;
        d.caption = SJ("ファイルの選択");
        d.w = 53;
        d.h = 35;
        d.visible = false;
        d.items = {{cFileSelectDialog::ID_PICTURE, ItemKind::kPicture, 0, "", 7, 7, 20, 21}};
        return d;
    }();
    return t;
}

}  // namespace

cFileSelectDialog::cFileSelectDialog(cWindow* owner, std::string* path, int mode)
    : cInstanceDialog(kTemplateId, owner), m_lpPath(path), m_nMode(mode) {
    g_lpFileSelectDialog = this;
}

const DialogTemplate* cFileSelectDialog::Template() const { return &FileSelectTemplate(); }

void cFileSelectDialog::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnInitDialog(wParam, lParam);
    InitControls();
    const bool english = EnglishSetting() != 0;
    std::string buffer;
    int r = 0;
    m_bReplace = 0;
    switch (m_nMode) {
        case FSEL_LOADSTAGE:
            r = OpenFileDialog(this, buffer, kPathBuffer, "data\\stg4\\",
                               english ? "load stage file" : SJ("ステージファイルの読み込み"),
                               {"StageFile ( *.stg4_* )", "*.stg4_*"}, "stg4_*");
            break;
        case FSEL_LOADREPLAY:
            r = OpenFileDialog(this, buffer, kPathBuffer, "user_data\\rpl4\\",
                               english ? "load replay file" : SJ("リプレイファイルの読み込み"),
                               {"ReplayFile ( *.rpl4_* )", "*.rpl4_*"}, "rpl4_*");
            break;
        case FSEL_SAVEREPLAY: {
            const std::string ext = "rpl4_" + std::to_string(kDataVersion);
            if (m_lpPath) buffer = *m_lpPath;
            r = SaveFileDialog(this, buffer, "user_data\\rpl4\\",
                               english ? "save replay file" : SJ("リプレイファイルの保存"),
                               {"ReplayFile ( *." + ext + " )", "*." + ext}, ext, 1, &m_bReplace);
            break;
        }
        default:
            break;
    }
    if (m_lpPath) *m_lpPath = buffer;
    Close(r == 1 ? 1 : 0);
    m_bInitDone = 1;
}

// --- the folder of a file in the file manager ---

void ShowInExplorer(const std::string& path, cWindow*) {
    std::string folder;
    size_t sep = LastSeparator(path);
    if (sep != std::string::npos) folder = path.substr(0, sep);
    if (folder.empty() && sep == 0) folder = "\\";
    std::string host = folder.empty() ? std::string(".") : platform::OsPath(folder);
    if (host.empty() || host[0] != '/') {
        std::string cwd = platform::CurrentDirectory();
        host = host == "." ? cwd : cwd + "/" + host;
    }
    if (platform::OpenFolderInFileManager(host) != platform::OpenFolderResult::Missing) return;
    const bool english = EnglishSetting() != 0;
    const std::string shown = platform::Utf8ToCp932(host);
    std::string text = english ? "Could not open the folder (xdg-open is missing).\n" + shown
                               : SJ("フォルダを開けませんでした（xdg-open がありません）。\n") + shown;
    platform::ShowMessageBoxOs(text, english ? std::string("Error") : SJ("エラー"),
                               platform::MB_OK | platform::MB_ICONERROR);
}

}  // namespace ui
