#pragma once
// The About box: the program's unit Unit1, form TForm1.

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
