#pragma once

#include <string>
#include <string_view>

namespace pyx {

// A damaged-list entry: the archive's full path, then at most one archiver reason and at most
// one extract-side reason, each as a blank and the text in double quotes.

// The reason for an archiver result code 0x8005..0x8038 for kinds whose texts name their DLL
// (Lzh, Arj, Rar); the text of the table with the kind's DLL name filled in.
std::string DamagedMessage(int resultCode, int kind);

// "ディレクトリが作成できません" for 1, "ファイルが削除できません" for 2, "" otherwise.
const char* ExtraMessage(int extraCode);

// The whole entry for a failed archive. resultCode is the command's result (0: not run or
// succeeded); extraCode 0, 1 or 2.
std::string ComposeDamagedEntry(std::string_view path, int kind, int resultCode, int extraCode);

// The path taken back out of an entry: the text before the first double quote less the blank
// before it, or the whole text when it holds no double quote.
std::string EntryPath(std::string_view entry);

}  // namespace pyx
