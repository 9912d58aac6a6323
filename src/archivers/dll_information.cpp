#include "archivers/dll_information.h"

namespace pyx {
namespace {

class NoWinRarHost : public ProvisioningHost {
  public:
    std::string WinRarFolder() override { return {}; }
    bool FileExists(const std::string&) override { return false; }
    void StartProgram(const std::string&, const std::string&) override {}
    void ShowRestartMessage(const std::string&) override {}
};

std::string DllPrefix(int kind) {
    return std::string(ArchiverDllName(kind)) + " : ";
}

}  // namespace

ProvisioningHost& SystemProvisioningHost() {
    static NoWinRarHost host;
    return host;
}

bool ProvisionUnrarDll(ProvisioningHost& host, const std::string& systemDir) {
    const std::string folder = host.WinRarFolder();
    if (folder.empty())
        return false;
    const std::string program = folder + "\\WinRAR.exe";
    const std::string parameters =
        "x \"" + folder + "\\UnRARDLL.rar\" unrar.dll \"" + systemDir + "\\\"";
    if (!host.FileExists(program) || !host.FileExists(folder + "\\UnRARDLL.rar"))
        return false;
    host.StartProgram(program, parameters);
    host.ShowRestartMessage(kUnrarRestartMessage);
    return true;
}

std::string VersionText(std::uint16_t v) {
    return std::to_string(v / 100) + "." + std::to_string(v % 100 / 10) + std::to_string(v % 10);
}

DllInformation ComputeDllInformation(const ArchiverTable& table, ProvisioningHost& host,
                                     const std::string& systemDir) {
    DllInformation info;
    for (int kind = KindLzh; kind <= KindCab; ++kind) {
        const ArchiverBinding* engine = UsableBinding(table, kind);
        auto& line = info.lines[static_cast<std::size_t>(kind - 1)];
        if (engine) {
            line = DllPrefix(kind) + VersionText(engine->getVersion());
        } else {
            line = DllPrefix(kind) + "なし";
            info.switchOff[static_cast<std::size_t>(kind)] = true;
        }
    }

    const ArchiverBinding* rar = UsableBinding(table, KindRar);
    int rarState = 0;
    if (!rar) {
        info.switchOff[KindRar] = true;
        info.lines[4] = "UNRAR32.DLL : なし";
        rarState += 1;
    }
    const bool unrarPresent = rar != nullptr;
    if (!unrarPresent) {
        // Started or not, the RAR kind stays off for this run.
        info.switchOff[KindRar] = true;
        if (!ProvisionUnrarDll(host, systemDir)) {
            info.lines[5] = "UNRAR.DLL : なし";
            rarState += 2;
        }
    }
    if (rarState != 3) {
        if (rarState != 1 && rar)
            info.lines[4] = "UNRAR32.DLL : " + VersionText(rar->getVersion());
        if (rarState != 2)
            info.lines[5] = "UNRAR.DLL : 存在";
    }
    return info;
}

}  // namespace pyx
