#include "media/text/font_files.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "base/log.h"
#include "platform/cp932.h"

namespace text {
namespace {

enum Pitch { kFixed, kProportional };

// Every face of the game's list. Fixed-pitch faces (and the Japanese faces
// whose kana and kanji have one width) take IPAGothic, the rest IPAPGothic.
// The Latin-only faces are asked for with the Japanese character set, so the
// game gets a Japanese proportional face for them, as it does on Windows.
struct NamedFace {
    const char* utf8;
    Pitch pitch;
};
const NamedFace kFaces[] = {
    {"System", kProportional}, {"Terminal", kFixed}, {"FixedSys", kFixed}, {"Roman", kProportional},
    {"Script", kProportional}, {"Modern", kProportional}, {"Small Fonts", kProportional},
    {"MS Serif", kProportional}, {"WST_Czec", kProportional}, {"WST_Engl", kProportional},
    {"WST_Fren", kProportional}, {"WST_Germ", kProportional}, {"WST_Ital", kProportional},
    {"WST_Span", kProportional}, {"WST_Swed", kProportional}, {"Courier", kFixed},
    {"MS Sans Serif", kProportional}, {"Marlett", kProportional}, {"Arial", kProportional},
    {"Arial CE", kProportional}, {"Arial CYR", kProportional}, {"Arial Greek", kProportional},
    {"Arial TUR", kProportional}, {"Arial Baltic", kProportional}, {"Courier New", kFixed},
    {"Courier New CE", kFixed}, {"Courier New CYR", kFixed}, {"Courier New Greek", kFixed},
    {"Courier New TUR", kFixed}, {"Courier New Baltic", kFixed}, {"Lucida Console", kFixed},
    {"Lucida Sans Unicode", kProportional}, {"Times New Roman", kProportional},
    {"Times New Roman CE", kProportional}, {"Times New Roman CYR", kProportional},
    {"Times New Roman Greek", kProportional}, {"Times New Roman TUR", kProportional},
    {"Times New Roman Baltic", kProportional}, {"Wingdings", kProportional}, {"Symbol", kProportional},
    {"Verdana", kProportional}, {"Arial Black", kProportional}, {"Comic Sans MS", kProportional},
    {"Impact", kProportional}, {"Georgia", kProportional}, {"Franklin Gothic Medium", kProportional},
    {"Palatino Linotype", kProportional}, {"Tahoma", kProportional}, {"Trebuchet MS", kProportional},
    {"Webdings", kProportional}, {"Estrangelo Edessa", kProportional}, {"Gautami", kProportional},
    {"Latha", kProportional}, {"Mangal", kProportional}, {"MV Boli", kProportional},
    {"Raavi", kProportional}, {"Shruti", kProportional}, {"Tunga", kProportional},
    {"Sylfaen", kProportional}, {"ＭＳ ゴシック", kFixed}, {"ＭＳ Ｐゴシック", kProportional},
    {"MS UI Gothic", kProportional}, {"ＭＳ 明朝", kFixed}, {"ＭＳ Ｐ明朝", kProportional},
    {"Microsoft Sans Serif", kProportional}, {"Gulim", kProportional}, {"GulimChe", kFixed},
    {"Dotum", kProportional}, {"DotumChe", kFixed}, {"Batang", kProportional}, {"BatangChe", kFixed},
    {"Gungsuh", kProportional}, {"GungsuhChe", kFixed}, {"SimSun", kFixed}, {"NSimSun", kFixed},
    {"SimSun-PUA", kFixed}, {"SimHei", kFixed}, {"MingLiU", kFixed}, {"PMingLiU", kProportional},
    {"Arial Narrow", kProportional}, {"Book Antiqua", kProportional},
    {"Bookman Old Style", kProportional}, {"Century", kProportional}, {"Century Gothic", kProportional},
    {"Garamond", kProportional}, {"MS Outlook", kProportional}, {"HGｺﾞｼｯｸE", kFixed},
    {"HGPｺﾞｼｯｸE", kProportional}, {"HGSｺﾞｼｯｸE", kProportional}, {"HG丸ｺﾞｼｯｸM-PRO", kFixed},
    {"HG創英角ｺﾞｼｯｸUB", kFixed}, {"HGP創英角ｺﾞｼｯｸUB", kProportional},
    {"HGS創英角ｺﾞｼｯｸUB", kProportional}, {"HG創英角ﾎﾟｯﾌﾟ体", kFixed},
    {"HGP創英角ﾎﾟｯﾌﾟ体", kProportional}, {"HGS創英角ﾎﾟｯﾌﾟ体", kProportional},
    {"HG正楷書体-PRO", kFixed}, {"InMusicSym", kProportional}, {"Kartika", kProportional},
    {"Vrinda", kProportional}, {"メイリオ", kProportional}, {"MT Extra", kProportional},
    {"HGｺﾞｼｯｸM", kFixed}, {"HGPｺﾞｼｯｸM", kProportional}, {"HGSｺﾞｼｯｸM", kProportional},
    {"HG行書体", kFixed}, {"HGP行書体", kProportional}, {"HGS行書体", kProportional},
    {"HG教科書体", kFixed}, {"HGP教科書体", kProportional}, {"HGS教科書体", kProportional},
    {"HG明朝B", kFixed}, {"HGP明朝B", kProportional}, {"HGS明朝B", kProportional},
    {"HG明朝E", kFixed}, {"HGP明朝E", kProportional}, {"HGS明朝E", kProportional},
    {"HG創英ﾌﾟﾚｾﾞﾝｽEB", kFixed}, {"HGP創英ﾌﾟﾚｾﾞﾝｽEB", kProportional},
    {"HGS創英ﾌﾟﾚｾﾞﾝｽEB", kProportional}, {"OCRB", kFixed}, {"Sydnie", kProportional},
};

const std::map<std::string, Pitch>& FaceTable() {
    static const std::map<std::string, Pitch> table = [] {
        std::map<std::string, Pitch> t;
        for (const auto& f : kFaces) t.emplace(platform::Utf8ToCp932(f.utf8), f.pitch);
        return t;
    }();
    return table;
}

// Kana and a kanji: a face without them cannot show the game's texts.
bool HasJapanese(FcPattern* font) {
    FcCharSet* cs = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &cs) != FcResultMatch) return false;
    return FcCharSetHasChar(cs, 0x3042) && FcCharSetHasChar(cs, 0x30A2) && FcCharSetHasChar(cs, 0x6F22);
}

bool HasFamily(FcPattern* font, const std::string& family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (family == reinterpret_cast<const char*>(name)) return true;
    }
    return false;
}

FontFileRef RefOf(FcPattern* font) {
    FontFileRef ref;
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) ref.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(font, FC_INDEX, 0, &ref.index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch)
        ref.family = reinterpret_cast<const char*>(family);
    return ref;
}

// The fonts fontconfig offers for a pattern, best first; keeps the first that
// passes the test.
template <class Test>
FontFileRef FirstMatch(FcConfig* config, FcPattern* pattern, Test test) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(config, pattern, FcFalse, nullptr, &result);
    FontFileRef ref;
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcPattern* font = FcFontRenderPrepare(config, pattern, set->fonts[i]);
            if (!font) continue;
            bool ok = test(font);
            if (ok) ref = RefOf(font);
            FcPatternDestroy(font);
            if (ok) break;
        }
        FcFontSetDestroy(set);
    }
    return ref;
}

// Loaded once and kept for the run; used only under the lookup lock.
FcConfig* Config() {
    static FcConfig* config = FcInitLoadConfigAndFonts();
    return config;
}

FontFileRef Lookup(const std::string& family, bool fixedPitch) {
    FcConfig* config = Config();
    if (!config) return {};
    FontFileRef ref;
    if (!family.empty()) {
        FcPattern* p = FcPatternCreate();
        FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        ref = FirstMatch(config, p, [&](FcPattern* f) { return HasFamily(f, family) && HasJapanese(f); });
        FcPatternDestroy(p);
    }
    if (ref.path.empty()) {
        FcPattern* p = FcPatternCreate();
        FcLangSet* langs = FcLangSetCreate();
        FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
        FcPatternAddLangSet(p, FC_LANG, langs);
        FcLangSetDestroy(langs);
        if (fixedPitch) FcPatternAddInteger(p, FC_SPACING, FC_MONO);
        ref = FirstMatch(config, p, HasJapanese);
        FcPatternDestroy(p);
    }
    return ref;
}

}  // namespace

std::string MappedFamily(std::string_view windowsNameCp932) {
    const auto& table = FaceTable();
    auto it = table.find(std::string(windowsNameCp932));
    if (it == table.end()) return {};
    return it->second == kFixed ? "IPAGothic" : "IPAPGothic";
}

FontFileRef ResolveFontFile(std::string_view windowsNameCp932) {
    static std::mutex mutex;
    static std::map<std::string, FontFileRef> cache;
    std::lock_guard<std::mutex> lock(mutex);
    std::string key(windowsNameCp932);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    std::string family = MappedFamily(key);
    // Unknown names are most often proportional Japanese faces.
    auto table = FaceTable().find(key);
    bool fixedPitch = table != FaceTable().end() && table->second == kFixed;
    FontFileRef ref = Lookup(family, fixedPitch);
    if (ref.path.empty()) {
        ReportLogf("Font : no Japanese face found for \"%s\"", platform::Cp932ToUtf8(key).c_str());
    } else if (ref.family != family) {
        DebugLogf("Font : \"%s\" -> %s (%s)", platform::Cp932ToUtf8(key).c_str(), ref.family.c_str(),
                  ref.path.c_str());
    }
    cache.emplace(key, ref);
    return ref;
}

}  // namespace text
