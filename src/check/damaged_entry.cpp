#include "check/damaged_entry.h"

#include <array>

#include "archivers/archive_kind.h"
#include "archivers/archiver_errors.h"
#include "archivers/binding_table.h"

namespace pyx {
namespace {

// One text per code from 0x8005 to 0x8038. A "%" marks where the kind's DLL name goes.
constexpr std::array<const char*, kLastArchiverError - kFirstArchiverError + 1> damagedMessages = {
    "解凍する為のディスクの空きが足りません",                                // 8005
    "解凍先のファイルはリードオンリーです",                                  // 8006
    "ユーザーによって解凍をスキップされました",                              // 8007
    "格納ファイルの種類が MS-DOS で扱える形式（BINARY 及び TEXT）以外です",  // 8008
    "% で扱えない格納モードで格納されています",                              // 8009
    "格納ファイルにパスワードがかかっています",                              // 800A
    "格納ファイルが % が対応していないバージョンの形式です",                 // 800B
    "格納ファイルのチェックサムが合っていません",                            // 800C
    "解凍時にファイルを開けませんでした",                                    // 800D
    "より新しいファイルが解凍先に存在しています",                            // 800E
    "ファイルは解凍先に存在していません",                                    // 800F
    "ファイルが解凍先に既に存在しています",                                  // 8010
    "格納ファイル数が限界を越えている",                                      // 8011
    "ディレクトリが作成できません",                                          // 8012
    "解凍中に書き込みエラーが生じました",                                    // 8013
    "アーカイブファイルのハフマンコードが壊れています",                      // 8014
    "アーカイブファイルのコメントヘッダが壊れています",                      // 8015
    "アーカイブファイルのヘッダのチェックサムが合っていません",              // 8016
    "アーカイバファイルのヘッダが壊れています",                              // 8017
    "アーカイブファイルを開く事が出来ません",                                // 8018
    "アーカイブファイルではありません",                                      // 8019
    "アーカイブファイルの読み込み時に読み込みエラーが出ました",              // 801A
    "アーカイブファイルではありません",                                      // 801B
    "コマンド指定が間違っています",                                          // 801C
    "作業用のためのヒープメモリが不足しています",                            // 801D
    "グローバルメモリが不足しています",                                      // 801E
    "既に別のプロセスから % が呼ばれています",                               // 801F
    "ユーザーによって処理を中断されました",                                  // 8020
    "",                                                                      // 8021
    "",                                                                      // 8022
    "% でサポートされていない API が使用されました",                         // 8023
    "日付及び時間の指定形式が間違っています",                                // 8024
    "作業ファイルが作成できません",                                          // 8025
    "ディレクトリのパスが長すぎます",                                        // 8026
    "書き込み専用属性の書庫に対する操作はできません",                        // 8027
    "すでに同じ名前のファイルが書庫に格納されています",                      // 8028
    "指定されたディレクトリには書庫がありませんでした",                      // 8029
    "レスポンスファイルの読み込み時にエラーが生じました",                    // 802A
    "ファイル名の指定が必要です",                                            // 802B
    "作業ファイルの書庫への書き戻しができませんでした",                      // 802C
    "書庫のデータが欠落しています",                                          // 802D
    "この SFX への書庫操作は行えません",                                     // 802E
    "作業ファイルの書き戻しに必要なディスクの空きがありません",              // 802F
    "ファイルへのアクセスが許可されていません",                              // 8030
    "ファイルが見つかりません",                                              // 8031
    "ログファイルのエラーです",                                              // 8032
    "デバイスが見つかりません",                                              // 8033
    "ファイル属性が取得できません",                                          // 8034
    "ファイル属性の設定ができません",                                        // 8035
    "ファイル情報が取得できません",                                          // 8036
    "ファイルポインタが取得できません",                                      // 8037
    "ファイルポインタの設定ができません",                                    // 8038
};

constexpr const char* kOtherError = "その他のエラー";

bool KindHasMessageTable(int kind) {
    return kind == KindLzh || kind == KindArj || kind == KindRar;
}

void AppendReason(std::string& entry, std::string_view reason) {
    entry += " \"";
    entry += reason;
    entry += '"';
}

}  // namespace

std::string DamagedMessage(int resultCode, int kind) {
    if (resultCode < kFirstArchiverError || resultCode > kLastArchiverError)
        return kOtherError;
    const std::string_view text =
        damagedMessages[static_cast<std::size_t>(resultCode - kFirstArchiverError)];
    std::string message;
    for (const char c : text) {
        if (c == '%') {
            message += ArchiverDllName(kind);
        } else {
            message += c;
        }
    }
    return message;
}

const char* ExtraMessage(int extraCode) {
    switch (extraCode) {
        case 1:
            return "ディレクトリが作成できません";
        case 2:
            return "ファイルが削除できません";
        default:
            return "";
    }
}

std::string ComposeDamagedEntry(std::string_view path, int kind, int resultCode, int extraCode) {
    std::string entry(path);
    if (resultCode >= kFirstArchiverError && resultCode <= kLastArchiverError &&
        KindHasMessageTable(kind)) {
        AppendReason(entry, DamagedMessage(resultCode, kind));
    } else if (resultCode != 0) {
        AppendReason(entry, kOtherError);
    }
    if (extraCode != 0)
        AppendReason(entry, ExtraMessage(extraCode));
    return entry;
}

std::string EntryPath(std::string_view entry) {
    const auto quote = entry.find('"');
    if (quote == std::string_view::npos)
        return std::string(entry);
    return std::string(entry.substr(0, quote == 0 ? 0 : quote - 1));
}

}  // namespace pyx
