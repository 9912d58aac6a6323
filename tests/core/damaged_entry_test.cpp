#include "check/damaged_entry.h"

#include <gtest/gtest.h>

#include "archivers/archive_kind.h"

namespace pyx {
namespace {

TEST(DamagedEntry, ComposesThePathAndItsReasons) {
    struct Case {
        int kind, resultCode, extraCode;
        const char* entry;
    };
    const Case cases[] = {
        {KindLzh, 0, 0, "/d/a.lzh"},
        {KindLzh, 0x8019, 0, "/d/a.lzh \"アーカイブファイルではありません\""},
        {KindZip, 0x8019, 0, "/d/a.lzh \"その他のエラー\""},
        {KindCab, 0x800C, 0, "/d/a.lzh \"その他のエラー\""},
        {KindArj, 0x8009, 0, "/d/a.lzh \"UNARJ32J.DLL で扱えない格納モードで格納されています\""},
        {KindRar, 0x801F, 0, "/d/a.lzh \"既に別のプロセスから UNRAR32.DLL が呼ばれています\""},
        {KindLzh, 0x800B, 0,
         "/d/a.lzh \"格納ファイルが UNLHA32.DLL が対応していないバージョンの形式です\""},
        {KindRar, 0x8023, 0,
         "/d/a.lzh \"UNRAR32.DLL でサポートされていない API が使用されました\""},
        {KindLzh, 0x8021, 0, "/d/a.lzh \"\""},
        {KindArj, 0x8022, 0, "/d/a.lzh \"\""},
        {KindLzh, 0x8004, 0, "/d/a.lzh \"その他のエラー\""},
        {KindLzh, 0x8039, 0, "/d/a.lzh \"その他のエラー\""},
        {KindLzh, -1, 0, "/d/a.lzh \"その他のエラー\""},
        {KindLzh, 0x8038, 0, "/d/a.lzh \"ファイルポインタの設定ができません\""},
        {KindLzh, 0x8005, 0, "/d/a.lzh \"解凍する為のディスクの空きが足りません\""},
        {KindZip, 0, 1, "/d/a.lzh \"ディレクトリが作成できません\""},
        {KindLzh, 0, 2, "/d/a.lzh \"ファイルが削除できません\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComposeDamagedEntry("/d/a.lzh", c.kind, c.resultCode, c.extraCode), c.entry)
            << std::hex << c.resultCode;
    }
}

TEST(DamagedEntry, TakesThePathBackOut) {
    EXPECT_EQ(EntryPath("/d/a b.lzh"), "/d/a b.lzh");
    EXPECT_EQ(EntryPath("/d/a b.lzh \"その他のエラー\""), "/d/a b.lzh");
    EXPECT_EQ(EntryPath("/d/a.lzh \"\""), "/d/a.lzh");
    EXPECT_EQ(EntryPath("/d/x.zip \"ディレクトリが作成できません\" \"ファイルが削除できません\""),
              "/d/x.zip");
    EXPECT_EQ(EntryPath("\"odd"), "");
}

}  // namespace
}  // namespace pyx
