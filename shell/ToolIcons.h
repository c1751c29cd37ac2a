#pragma once
// The 18 × 18 pictures of the tool bar buttons, drawn once.

#include <QIcon>

namespace vorn {

enum class ToolPicture {
    Open,
    Save,
    Delete,
    SmartPanel,
    Panelize,
    Minimize,
    Query,
    Preview,
    Print,
    Export,
    Exit
};

QIcon ToolIcon(ToolPicture picture);

} // namespace vorn
