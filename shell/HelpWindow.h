#pragma once
// The program's help: an HTML file beside the program, opened at a context
// number that names an anchor in it.

#include <QDialog>

class QTextBrowser;

namespace vorn {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // The help page in the language the windows speak.
    static QString FileName();
    // Opens the file at the context; returns nullptr without a window when
    // the file is missing.
    static HelpWindow* Open(const QString& path, int context, QWidget* parent);

    void ShowContext(int context);
    QTextBrowser* Browser() const { return browser_; }

private:
    HelpWindow(const QString& path, QWidget* parent);

    QString path_;
    QTextBrowser* browser_ = nullptr;
};

} // namespace vorn
