#pragma once

// The program's own texts, UTF-8.
namespace selvane::messages {

inline constexpr char kUnsupportedServer[] = "このソフトウェアは既設サーバのみに対応しています。";
inline constexpr char kRightButtonUnusable[] = "マウスの右ボタンは利用できません。";
inline constexpr char kUnexpectedFailure[] = "予期しないエラーが発生したため、プログラムを終了します。";
inline constexpr char kChooseKevaFolder[] = "KEVAのインストールフォルダを選択してください。";
inline constexpr char kSetupComplete[] = "初期設定が完了しました。";
inline constexpr char kSettingsNotWritten[] = "設定を書き込めませんでした。";
inline constexpr char kNotInCodePage[] =
    "次の文字列には、このコンピュータの文字コード (ANSI コードページ) で表せない文字が"
    "含まれているため、設定を書き込めません。";
inline constexpr char kCheckFolderAndRetry[] = "フォルダを確かめてから、もう一度 [完了] を押してください。";
inline constexpr char kSetupStopped[] = "初期設定を中止しました。";
inline constexpr char kFileLabel[] = "ファイル: ";
inline constexpr char kReasonLabel[] = "理由: ";

}  // namespace selvane::messages
