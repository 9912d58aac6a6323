#pragma once

// A binding table of recording fakes for the window tests: every kind complete, version 1.00
// (ZIP's can be set), every archive sound unless a test says otherwise. Every call is recorded.
#include <QString>
#include <QStringList>
#include <cstdint>

#include "archivers/binding_table.h"

namespace fake {

inline QStringList checkedPaths;  // the paths checkArchive was asked about
inline QStringList calls;         // "<kind>:check:<path>:<mode>", "<kind>:command:<line>"
// Runs at every checkArchive call, before it answers; empty when not set.
inline void (*onCheck)() = nullptr;
// checkArchive's answer for a path; 1 (sound) when not set.
inline int (*checkAnswer)(const char* path) = nullptr;
inline int commandAnswer = 0;
inline std::uint16_t zipVersion = 100;

template <int Kind>
struct Engine {
    static int Check(const char* path, int mode) {
        checkedPaths << QString::fromUtf8(path);
        calls << QStringLiteral("%1:check:%2:%3").arg(Kind).arg(QString::fromUtf8(path)).arg(mode);
        if (onCheck)
            onCheck();
        return checkAnswer ? checkAnswer(path) : 1;
    }
    static int Command(void*, const char* line, char*, std::uint32_t) {
        calls << QStringLiteral("%1:command:%2").arg(Kind).arg(QString::fromUtf8(line));
        return commandAnswer;
    }
    static std::uint16_t Version() { return Kind == pyx::KindZip ? zipVersion : 100; }
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
    calls.clear();
    onCheck = nullptr;
    checkAnswer = nullptr;
    commandAnswer = 0;
    zipVersion = 100;
}

}  // namespace fake
