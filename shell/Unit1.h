#pragma once
// The About box.

#include <QDialog>

class QLabel;

class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    QLabel* VersionLabel() const { return version_; }
    static QString Version();

private:
    QLabel* version_ = nullptr;
};
