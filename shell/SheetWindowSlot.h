#pragma once
// The sheet-materials window is created once, hidden, at start-up. Until its
// own window exists this hidden stand-in holds its place; it offers nothing.

#include <QDialog>

namespace vorn {

class SheetWindowSlot : public QDialog {
    Q_OBJECT
public:
    explicit SheetWindowSlot(QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("TForm5"));
        setWindowTitle(QStringLiteral("板材设定"));
    }
};

} // namespace vorn
