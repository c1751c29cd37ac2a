#include "HelpWindow.h"

#include "Language.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vorn {

QString HelpWindow::FileName() {
    return CurrentLanguage() == Language::English ? QStringLiteral("Vorn_en.html")
                                                  : QStringLiteral("Vorn.html");
}

HelpWindow::HelpWindow(const QString& path, QWidget* parent) : QDialog(parent), path_(path) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Vorn 帮助"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(640, 520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_);
}

HelpWindow* HelpWindow::Open(const QString& path, int context, QWidget* parent) {
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto* help = new HelpWindow(path, parent);
    help->ShowContext(context);
    help->show();
    return help;
}

void HelpWindow::ShowContext(int context) {
    QUrl url = QUrl::fromLocalFile(path_);
    url.setFragment(QString::number(context));
    browser_->setSource(url);
    browser_->scrollToAnchor(QString::number(context));
}

} // namespace vorn
