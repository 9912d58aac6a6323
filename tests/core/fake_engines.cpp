#include "fake_engines.h"

#include <cstring>

namespace pyx::testing {
namespace {

FakeEngines* active = nullptr;

struct Listing {
    int kind;
    std::size_t next = 0;
    const FakeMember* current = nullptr;
};

template <int Kind>
struct Fake {
    static FakeKind& Self() { return active->kinds[Kind]; }
    static void Log(const std::string& s) {
        active->calls.push_back(std::to_string(Kind) + ":" + s);
    }
    static int CheckArchive(const char* path, int mode) {
        Log("check:" + std::string(path) + ":" + std::to_string(mode));
        const bool isExe = std::strstr(path, ".exe") || std::strstr(path, ".EXE");
        return mode == 0 && isExe ? Self().probeAnswer : Self().checkAnswer;
    }
    static int Command(void*, const char* line, char*, std::uint32_t size) {
        Log("command:" + std::string(line) + ":" + std::to_string(size));
        return Self().commandAnswer;
    }
    static std::uint16_t GetVersion() { return 100; }
    static ArchiveHandle OpenArchive(void*, const char* path, std::uint32_t mode) {
        Log("open:" + std::string(path) + ":" + std::to_string(mode));
        return new Listing{Kind};
    }
    static int CloseArchive(ArchiveHandle h) {
        Log("close");
        delete static_cast<Listing*>(h);
        return 0;
    }
    static int Step(ArchiveHandle h) {
        auto* l = static_cast<Listing*>(h);
        if (l->next >= Self().members.size())
            return -1;
        l->current = &Self().members[l->next++];
        return 0;
    }
    static int FindFirst(ArchiveHandle h, const char* wild, void*) {
        Log("findFirst:" + std::string(wild));
        return Step(h);
    }
    static int FindNext(ArchiveHandle h, void*) { return Step(h); }
    static std::uint16_t GetDate(ArchiveHandle h) {
        return static_cast<Listing*>(h)->current->date;
    }
    static std::uint16_t GetTime(ArchiveHandle h) {
        return static_cast<Listing*>(h)->current->time;
    }

    static ArchiverBinding Binding() {
        static const char name[] = "fake";
        return {name,          &CheckArchive, &Command,  &GetVersion, &OpenArchive,
                &CloseArchive, &FindFirst,    &FindNext, &GetDate,    &GetTime};
    }
};

}  // namespace

FakeEngines::FakeEngines() {
    active = this;
    table[1] = Fake<1>::Binding();
    table[2] = Fake<2>::Binding();
    table[3] = Fake<3>::Binding();
    table[4] = Fake<4>::Binding();
    table[5] = Fake<5>::Binding();
}

FakeEngines::~FakeEngines() {
    active = nullptr;
}

}  // namespace pyx::testing
