#pragma once

// The setup window's layout, in twips (1440 per inch: 15 per pixel at 96 dpi).
// Controls are listed in tab order, which is also their creation order.

#include "resources/resource_ids.h"

namespace selvane::layout {

enum class ControlKind { PushButton, Frame, FolderBox };

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlLayout {
    int id;
    ControlKind kind;
    const char* caption;  // UTF-8
    TwipRect rect;        // relative to the parent's client area
    int parentId;         // 0: the window itself
};

inline constexpr char kWindowCaption[] = "インストールフォルダの設定";
inline constexpr int kClientWidth = 6810;
inline constexpr int kClientHeight = 1485;

inline constexpr char kFontFace[] = "MS UI Gothic";
inline constexpr int kFontHundredthsOfPoint = 975;
inline constexpr int kFontWeight = 400;
inline constexpr int kFontCharset = 128;  // SHIFTJIS_CHARSET

inline constexpr ControlLayout kControls[] = {
    {IDC_CMD_COMMON, ControlKind::PushButton, "参照(&R)", {5490, 300, 900, 315}, IDC_FRA_COMMON},
    {IDC_CMD_COMPLETE, ControlKind::PushButton, "完了", {5400, 1050, 1320, 315}, 0},
    {IDC_FRA_COMMON, ControlKind::Frame, "KEVAのインストールフォルダ", {120, 120, 6570, 810}, 0},
    {IDC_TXT_COMMON, ControlKind::FolderBox, "", {180, 300, 5310, 315}, IDC_FRA_COMMON},
};

// Browse and the frame are control arrays holding the one element 1.
inline constexpr int kBrowseIndex = 1;

}  // namespace selvane::layout
