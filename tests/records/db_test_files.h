// Hand-made database table files for the record and database tests: a byte
// builder that follows the file layout, and one valid version-1000 file of
// each of the ten table kinds with values that differ from the defaults.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"

namespace dbtest {

class Bytes {
public:
    Bytes& i8(int8_t x) { return Put(&x, 1); }
    Bytes& i16(int16_t x) { return Put(&x, 2); }
    Bytes& i32(int32_t x) { return Put(&x, 4); }
    Bytes& u32(uint32_t x) { return Put(&x, 4); }
    // A stored string: int32 length + 1, then the text and its NUL.
    Bytes& s(std::string_view cp932) {
        i32(static_cast<int32_t>(cp932.size() + 1));
        if (!cp932.empty()) {
            Put(cp932.data(), cp932.size());
            i8(0);
        }
        return *this;
    }
    // A string block: count, then the strings.
    Bytes& strs(std::initializer_list<std::string_view> list) {
        i32(static_cast<int32_t>(list.size()));
        for (std::string_view t : list) s(t);
        return *this;
    }
    Bytes& add(const Bytes& o) {
        v.insert(v.end(), o.v.begin(), o.v.end());
        return *this;
    }
    std::vector<uint8_t> v;

private:
    Bytes& Put(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        v.insert(v.end(), b, b + n);
        return *this;
    }
};

// Version word and record count of a table file.
inline Bytes TableHead(uint32_t version, int32_t count) { return Bytes().u32(version).i32(count); }

inline std::string Cp(const char* utf8) { return platform::Utf8ToCp932(utf8); }

// cDbAnimeFrame body.
inline Bytes Frame(int32_t picture, int32_t duration, int32_t lock) {
    return Bytes().i32(3).i32(picture).i32(duration).i32(lock).i32(0);
}

// cDbAnime body at version 55 or later, with its frames.
inline Bytes Anime(std::string_view name, int16_t a, int8_t flag, int16_t b, const std::vector<Bytes>& frames) {
    Bytes r;
    r.i32(3).i16(a).i8(flag).i16(b).strs({name}).i32(static_cast<int32_t>(frames.size()));
    for (const Bytes& f : frames) r.add(f);
    return r;
}

struct SampleFile {
    const char* kind;      // data tool kind
    const char* fileName;  // under data\database\ (and its host name)
    std::vector<uint8_t> bytes;
};

// One valid file per table, in load order.
inline std::vector<SampleFile> SampleFiles() {
    std::vector<SampleFile> out;
    {
        Bytes b = TableHead(1000, 1);
        b.i32(3).i32(7).i32(9).i32(2).strs({"set"}).i32(2);
        b.add(Anime("run", 1, 0, 2, {Frame(5, 2, 0), Frame(6, 3, 1)}));
        b.add(Anime("", 0, 1, 0, {}));
        out.push_back({"animeset", "AnimeSet.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 2);
        b.add(Anime(Cp("なし"), 0, 1, 0, {Frame(0, 1, 0)}));
        b.add(Anime("jump", -3, 0, 300, {Frame(1, 2, 0), Frame(2, 4, 1), Frame(3, 1, 0)}));
        out.push_back({"anime", "Anime.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 2);
        b.i32(3).i32(0).i32(0).i32(2).strs({"", ""});
        b.i32(3).i32(4).i32(1).i32(3).strs({"big", "chara.png"});
        out.push_back({"bmp_charaexc", "Bmp_CharaExc.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 1);
        b.i32(1).i32(6).strs({"sw", "s.png", "s2.png"}).i32(2);
        b.i32(10).i32(-8).i32(4).i32(0).i32(1).i32(1).i32(32).i32(0).i32(24).i32(16).i32(2).i32(0);
        b.i32(10).i32(12).i32(-4).i32(1).i32(0).i32(3).i32(64).i32(16).i32(8).i32(40).i32(1).i32(0);
        out.push_back({"swordtype", "SwordType.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 2);
        b.i32(4).i32(0).i32(32).i32(32).i32(0).strs({"", ""}).i32(1).i32(2).i32(0).i32(1).i32(0);
        b.i32(4).i32(3).i32(48).i32(40).i32(1).strs({"hit", "e.png"}).i32(2);
        b.i32(2).i32(0).i32(1).i32(0).i32(2).i32(1).i32(2).i32(0);
        out.push_back({"effect", "Effect.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 2);
        b.i32(2).i32(3).i32(5).i32(0).i32(32).i32(4).i32(0).strs({"first"});
        b.i32(2).i32(4).i32(5).i32(0).i32(32).i32(2).i32(3).strs({Cp("波")});
        out.push_back({"charaeffect", "CharaEffect.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 2);
        b.i32(2).i32(2).i32(10).i32(4).i32(4).i32(0).i32(0).strs({"shake"});
        b.i32(2).i32(7).i32(10).i32(0).i32(480).i32(4).i32(3).strs({"wave"});
        out.push_back({"screffect", "ScrEffect.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 3);
        b.i32(1).i32(0).strs({"", ""});
        b.i32(1).i32(2).strs({"title", "pic\\title.png"});
        b.i32(1).i32(0).strs({Cp("背景"), "bg.png"});
        out.push_back({"picture", "Picture.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 1);
        b.i32(1).i32(9).strs({"jump", "se\\jump.wav"});
        out.push_back({"sound", "Sound.dat", b.v});
    }
    {
        Bytes b = TableHead(1000, 2);
        b.i32(2).i32(0).i32(100).strs({"", ""});
        b.i32(2).i32(1).i32(80).strs({"stage", "bgm\\stage.ogg"});
        out.push_back({"bgm", "Bgm.dat", b.v});
    }
    return out;
}

}  // namespace dbtest
