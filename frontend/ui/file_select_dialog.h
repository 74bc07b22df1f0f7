// File selection: the open-stage, open-replay and save-replay dialogs the
// main window runs for the game thread, the two file dialogs they run, and
// the opening of a replay's folder in the desktop's file manager.
//
// cFileSelectDialog (template 104) is never drawn: its initialisation runs
// the open or save dialog of its mode, stores the chosen path in its caller's
// string and closes itself with 1 (a file was chosen) or 0.
//
// The open and save dialogs are the program's own, drawn in the game window:
// the folder shown, a list of "..", its folders and the files matching the
// filter, a file-name box and the file type. A typed name is looked up in
// the folder shown regardless of case; a typed folder is entered, and a typed
// pattern ("*" or "?") becomes the list's filter. Paths go in and out in the
// program's form (CP932, backslashes); a chosen path is absolute ("\...\x").
#pragma once
#include <string>
#include <vector>

#include "frontend/ui/instance_dialog.h"

namespace ui {

enum { FSEL_LOADSTAGE = 0, FSEL_LOADREPLAY = 1, FSEL_SAVEREPLAY = 2 };

struct FileFilter {
    std::string description;  // "StageFile ( *.stg4_* )"
    std::string pattern;      // "*.stg4_*"
};

// 1 when a file was chosen (its absolute path in `path`, shorter than
// `length` bytes), 0 when cancelled (`path` empty), -1 when the dialog
// cannot be shown. The file must exist.
int OpenFileDialog(cWindow* owner, std::string& path, int length, const std::string& initialFolder,
                   const std::string& title, const FileFilter& filter, const std::string& defaultExt);

// 1 when a name was chosen (its absolute path in `path`), 0 otherwise.
// keepName 0 empties `path` first; 1 offers its text as the name (a name
// holding a folder opens the dialog in that folder). A name without an
// extension gets `defaultExt`. Choosing an existing file asks first; when the
// user agreed to replace it, `replace` (when given) is set to 1, else 0.
int SaveFileDialog(cWindow* owner, std::string& path, const std::string& initialFolder, const std::string& title,
                   const FileFilter& filter, const std::string& defaultExt, int keepName, int* replace = nullptr);

// Opens the folder of a file (CP932 path) in the file manager; the file
// itself is not selected. Only a missing xdg-open is reported (a box naming
// the folder).
void ShowInExplorer(const std::string& path, cWindow* owner);

class cFileSelectDialog;
extern cFileSelectDialog* g_lpFileSelectDialog;

class cFileSelectDialog : public cInstanceDialog<cFileSelectDialog> {
public:
    enum { kTemplateId = 104, ID_PICTURE = 1075 };

    // `path`: in mode FSEL_SAVEREPLAY the default name; receives the result.
    cFileSelectDialog(cWindow* owner, std::string* path, int mode);

    static cFileSelectDialog*& Instance() { return g_lpFileSelectDialog; }
    void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
    const DialogTemplate* Template() const override;

    std::string* m_lpPath = nullptr;
    int m_nMode = 0;
    // Set when the user agreed to replace an existing file (save mode): the
    // permission the caller passes on to the writer.
    int m_bReplace = 0;
};

// The open and save dialog itself.
class cFileDialog;
extern cFileDialog* g_lpFileDialog;

class cFileDialog : public cInstanceDialog<cFileDialog> {
public:
    enum {
        ID_OK = 1,
        ID_CANCEL = 2,
        ID_FOLDER = 1201,
        ID_LIST = 1202,
        ID_NAME_LABEL = 1203,
        ID_NAME = 1204,
        ID_TYPE_LABEL = 1205,
        ID_TYPE = 1206,
    };
    enum RowKind { kUp, kFolder, kFile };
    struct Row {
        std::string name;  // CP932, as on disk
        RowKind kind;
    };

    cFileDialog(cWindow* owner, bool save, const std::string& title, const FileFilter& filter,
                const std::string& defaultExt, int length);

    static cFileDialog*& Instance() { return g_lpFileDialog; }
    intptr_t OnMessage(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) override;
    void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
    void OnCommand(uintptr_t wParam, intptr_t lParam) override;
    const DialogTemplate* Template() const override { return &m_Template; }

    // Before DoModal: the folder to open in (CP932, relative or absolute) and
    // the name offered.
    std::string m_strStartFolder, m_strStartName;

    // The folder shown (absolute, ending in a backslash) and its rows.
    std::string m_strFolder;
    std::vector<Row> m_vecRows;
    // After DoModal: the chosen path and whether replacing it was agreed.
    std::string m_strResult;
    int m_bReplace = 0;

private:
    void ShowFolder(const std::string& absFolder);
    void Activate(int row);
    void Accept(const std::string& typed);
    void GoUp();

    DialogTemplate m_Template;
    bool m_bSave;
    std::string m_strTitle;
    FileFilter m_Filter;
    std::string m_strDefaultExt;
    int m_nLength;
};

// The folder text the dialog shows for an absolute folder: relative to the
// game folder when inside it (".\" for the game folder itself), else as is.
std::string FolderShown(const std::string& absFolder);

}  // namespace ui
