#include "records/data_record.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "base/error_box.h"
#include "base/log.h"
#include "base/quit.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/damaged_files.h"

uint32_t g_nDataVersion = kDataVersion;
uint32_t g_nFileVersion = 0;
int32_t g_bFileTooNew = 0;
int32_t g_bStripCR = 0;

namespace {
thread_local std::string t_strLastError;
}

const std::string& LastDataFileError() { return t_strLastError; }
void SetLastDataFileError(std::string text) { t_strLastError = std::move(text); }

// ---------------------------------------------------------------------------
// Dump

void cDumper::Line(std::string_view name, std::string_view value) {
    m_strText.append(static_cast<size_t>(m_nIndent) * 2, ' ');
    m_strText.append(name);
    m_strText.append(" = ");
    m_strText.append(value);
    m_strText.push_back('\n');
}

void cDumper::Open(std::string_view name) {
    m_strText.append(static_cast<size_t>(m_nIndent) * 2, ' ');
    m_strText.append(name);
    m_strText.append(":\n");
    ++m_nIndent;
}

void cDumper::Close() {
    if (m_nIndent > 0) --m_nIndent;
}

std::string DumpValue(int64_t v) { return std::to_string(v); }
std::string DumpValue(uint64_t v) { return std::to_string(v); }
std::string DumpValue(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string DumpString(std::string_view cp932) {
    std::string utf8 = platform::Cp932ToUtf8(cp932);
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            } else {
                out.push_back(static_cast<char>(c));
            }
        }
    }
    return out + "\"";
}

namespace record_detail {

void StringWritePass::String(const char*, std::string& s) {
    // A string is stored up to its first NUL; the member keeps what was stored.
    const size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    m_w.WriteString(s);
}

void StripCRPass::String(const char*, std::string& s) { std::erase(s, '\r'); }

}  // namespace record_detail

// ---------------------------------------------------------------------------
// Files

namespace {

bool CheckVersionWord(cByteReader& r, std::string_view name, cLoadContext& ctx) {
    uint32_t version = 0;
    if (!r.Read(version, "version word")) {
        // Too short to say: not refused as newer.
        g_bFileTooNew = 0;
        SetLastDataFileError(Format("%.*s: file too short for its version word",
                                    static_cast<int>(name.size()), name.data()));
        return false;
    }
    g_nFileVersion = version;
    if (version > g_nDataVersion) {
        g_bFileTooNew = 1;
        SetLastDataFileError(Format("%.*s: file version %u is newer than %u",
                                    static_cast<int>(name.size()), name.data(), version, g_nDataVersion));
        return false;
    }
    g_bFileTooNew = 0;
    ctx = cLoadContext{version, g_bStripCR != 0};
    return true;
}

void SetReaderError(std::string_view name, const cByteReader& r) {
    SetLastDataFileError(Format("%.*s: %s", static_cast<int>(name.size()), name.data(), r.Error().c_str()));
}

}  // namespace

bool cDataFileIn::Check() {
    if (m_Reader.ok()) return true;
    SetReaderError(m_strName, m_Reader);
    return false;
}

bool cDataFileIn::OpenBytes(std::span<const uint8_t> file, std::string_view name) {
    m_strName = name;
    m_vecBytes.assign(file.begin(), file.end());
    m_Reader = cByteReader(m_vecBytes);
    return CheckVersionWord(m_Reader, name, m_Ctx);
}

bool cDataFileIn::Open(std::string_view cp932Path) {
    m_strName = cp932Path;
    auto bytes = platform::ReadWholeFile(cp932Path);
    if (!bytes) {
        SetLastDataFileError(Format("%.*s: cannot open the file", static_cast<int>(cp932Path.size()),
                                    cp932Path.data()));
        return false;
    }
    m_vecBytes = std::move(*bytes);
    m_Reader = cByteReader(m_vecBytes);
    return CheckVersionWord(m_Reader, cp932Path, m_Ctx);
}

bool cDataFileOut::Commit(std::string_view cp932Path) {
    if (g_bQuit) {
        SetLastDataFileError("not saved: the program is closing");
        return false;
    }
    if (!KeepDamagedFileBeforeSave(cp932Path)) {
        SetLastDataFileError(Format("%.*s: not saved: the damaged file there could not be kept",
                                    static_cast<int>(cp932Path.size()), cp932Path.data()));
        return false;
    }
    if (!platform::WriteFileAtomic(cp932Path, m_Writer.Data(), m_Writer.Size())) {
        SetLastDataFileError(Format("%.*s: cannot write the file", static_cast<int>(cp932Path.size()),
                                    cp932Path.data()));
        return false;
    }
    return true;
}

bool cDataRecord::LoadBytes(std::span<const uint8_t> file, std::string_view name) {
    cByteReader r(file);
    cLoadContext ctx;
    if (!CheckVersionWord(r, name, ctx)) return false;
    std::unique_ptr<cDataRecord> copy = CloneRecord();
    if (!copy->Load(r, ctx)) {
        if (r.ok()) r.Fail("bad record");
        SetReaderError(name, r);
        return false;
    }
    AssignRecord(std::move(*copy));
    return true;
}

bool cDataRecord::LoadFile(std::string_view cp932Path) {
    auto bytes = platform::ReadWholeFile(cp932Path);
    if (!bytes) {
        SetLastDataFileError(Format("%.*s: cannot open the file", static_cast<int>(cp932Path.size()),
                                    cp932Path.data()));
        return false;
    }
    return LoadBytes(*bytes, cp932Path);
}

cDataRecord::FileRead cDataRecord::LoadFileAsFarAsItGoes(std::string_view cp932Path) {
    auto bytes = platform::ReadWholeFile(cp932Path);
    if (!bytes) {
        SetLastDataFileError(Format("%.*s: cannot open the file", static_cast<int>(cp932Path.size()),
                                    cp932Path.data()));
        return FileRead::NotRead;
    }
    if (LoadBytes(*bytes, cp932Path)) return FileRead::Whole;
    NoteDamagedFile(cp932Path);
    cByteReader r(*bytes);
    cLoadContext ctx;
    if (!CheckVersionWord(r, cp932Path, ctx)) return FileRead::NotRead;
    std::unique_ptr<cDataRecord> part = FreshRecord();
    part->Load(r, ctx);  // fails where the file breaks off: LoadBytes has said why
    part->FinishPartialLoad(ctx);
    AssignRecord(std::move(*part));
    return FileRead::Partly;
}

std::vector<uint8_t> cDataRecord::SaveBytesAs(uint32_t nVersion) {
    // Sized first, so that a large record is written into one buffer
    // without regrowing it.
    cByteWriter w;
    w.ReserveMore(4 + BodySize(nVersion));
    w.Write(nVersion);
    SaveAs(w, nVersion);
    return w.Take();
}

bool cDataRecord::SaveFile(std::string_view cp932Path) {
    if (g_bQuit) {
        SetLastDataFileError("not saved: the program is closing");
        return false;
    }
    if (!KeepDamagedFileBeforeSave(cp932Path)) {
        SetLastDataFileError(Format("%.*s: not saved: the damaged file there could not be kept",
                                    static_cast<int>(cp932Path.size()), cp932Path.data()));
        return false;
    }
    const std::vector<uint8_t> bytes = SaveBytes();
    if (!platform::WriteFileAtomic(cp932Path, bytes)) {
        SetLastDataFileError(Format("%.*s: cannot write the file", static_cast<int>(cp932Path.size()),
                                    cp932Path.data()));
        return false;
    }
    return true;
}

std::string cDataRecord::DumpText() {
    cDumper d;
    Dump(d);
    return std::move(d.Text());
}

void ReportDataFileLoadFailure(std::string_view name) {
    const std::string file(name);
    if (!LastDataFileError().empty()) ReportLogfDebug("%s", LastDataFileError().c_str());
    if (g_bFileTooNew) {
        ReportLogfError((SJ("%s の読み込みに失敗しました！") + "\n" +
                         SJ("実行ファイル(.exe)より上位のバージョンのファイルは使用できません。"))
                            .c_str(),
                        file.c_str());
    } else {
        ReportLogfError(SJ("%s の読み込みに失敗しました！").c_str(), file.c_str());
    }
}
