#pragma once

// A binding table of recording fakes for the window tests: every kind complete, version 1.00,
// every archive sound. checkArchive records the path it was asked about.
#include <QString>
#include <QStringList>
#include <cstdint>

#include "archivers/binding_table.h"

namespace fake {

inline QStringList checkedPaths;
// Runs at every checkArchive call, before it answers; empty when not set.
inline void (*onCheck)() = nullptr;

template <int Kind>
struct Engine {
    static int Check(const char* path, int) {
        checkedPaths << QString::fromUtf8(path);
        if (onCheck)
            onCheck();
        return 1;
    }
    static int Command(void*, const char*, char*, std::uint32_t) { return 0; }
    static std::uint16_t Version() { return 100; }
    static pyx::ArchiveHandle Open(void*, const char*, std::uint32_t) { return nullptr; }
    static int Close(pyx::ArchiveHandle) { return 0; }
    static int First(pyx::ArchiveHandle, const char*, void*) { return -1; }
    static int Next(pyx::ArchiveHandle, void*) { return -1; }
    static std::uint16_t Stamp(pyx::ArchiveHandle) { return 0; }
    static pyx::ArchiverBinding Binding() {
        static const char name[] = "fake";
        return {name, &Check, &Command, &Version, &Open, &Close, &First, &Next, &Stamp, &Stamp};
    }
};

inline void BindFakeArchivers() {
    pyx::archiverBindings[pyx::KindLzh] = Engine<pyx::KindLzh>::Binding();
    pyx::archiverBindings[pyx::KindZip] = Engine<pyx::KindZip>::Binding();
    pyx::archiverBindings[pyx::KindArj] = Engine<pyx::KindArj>::Binding();
    pyx::archiverBindings[pyx::KindCab] = Engine<pyx::KindCab>::Binding();
    pyx::archiverBindings[pyx::KindRar] = Engine<pyx::KindRar>::Binding();
    checkedPaths.clear();
    onCheck = nullptr;
}

}  // namespace fake
