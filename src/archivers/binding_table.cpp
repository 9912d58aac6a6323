#include "archivers/binding_table.h"

#include "archivers/arj_engine.h"
#include "archivers/cab_engine.h"
#include "archivers/lzh_engine.h"
#include "archivers/rar_engine.h"
#include "archivers/zip_engine.h"

namespace pyx {

ArchiverTable archiverBindings{};

void BindArchivers() {
    archiverBindings[KindLzh] = LzhEngineBinding();
    archiverBindings[KindZip] = ZipEngineBinding();
    archiverBindings[KindArj] = ArjEngineBinding();
    archiverBindings[KindCab] = CabEngineBinding();
    archiverBindings[KindRar] = RarEngineBinding();
}

void ReleaseArchivers() {
    archiverBindings.fill(ArchiverBinding{});
}

const char* ArchiverDllName(int kind) {
    switch (kind) {
        case KindLzh:
            return "UNLHA32.DLL";
        case KindZip:
            return "UNZIP32.DLL";
        case KindArj:
            return "UNARJ32J.DLL";
        case KindCab:
            return "CAB32.DLL";
        case KindRar:
            return "UNRAR32.DLL";
        default:
            return "";
    }
}

const ArchiverBinding* UsableBinding(const ArchiverTable& table, int kind) {
    if (!IsArchiverKind(kind))
        return nullptr;
    const ArchiverBinding& b = table[static_cast<std::size_t>(kind)];
    return IsComplete(b) ? &b : nullptr;
}

}  // namespace pyx
