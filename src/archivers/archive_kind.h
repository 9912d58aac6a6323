#pragma once

namespace pyx {

// The kind of a file by its lower-cased extension. Kinds 1 to 5 index archiverBindings;
// Sfx is handed to one of them by the self-extracting probe.
enum ArchiveKind : int {
    KindNone = 0,
    KindLzh = 1,
    KindZip = 2,
    KindArj = 3,
    KindCab = 4,
    KindRar = 5,
    KindSfx = 6,
};

constexpr int kFirstArchiverKind = KindLzh;
constexpr int kLastArchiverKind = KindRar;

constexpr bool IsArchiverKind(int kind) {
    return kind >= kFirstArchiverKind && kind <= kLastArchiverKind;
}

}  // namespace pyx
