#pragma once

// The program's own texts, UTF-8.
namespace selvane::messages {

inline constexpr char kUnsupportedServer[] = "このソフトウェアは既設サーバのみに対応しています。";
inline constexpr char kRightButtonUnusable[] = "マウスの右ボタンは利用できません。";
inline constexpr char kUnexpectedFailure[] = "予期しないエラーが発生したため、プログラムを終了します。";

}  // namespace selvane::messages
