#include "AboutBox.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {

// The program's mark: a panel with six boards.
QPixmap Logo(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size, size);
    g.setColorAt(0, QColor(0x3a, 0x7b, 0xc0));
    g.setColorAt(1, QColor(0x1c, 0x3f, 0x66));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 8.0, size / 8.0);
    const double m = size * 0.16;
    const double gap = size * 0.06;
    const double w = (size - 2 * m - 2 * gap) / 3;
    const double h = (size - 2 * m - gap) / 2;
    p.setBrush(QColor(0x6c, 0xd0, 0x8a));
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j)
            p.drawRect(QRectF(m + i * (w + gap), m + j * (h + gap), w, h));
    }
    return pixmap;
}

// A laminate sheet cut into panels, for the lower corner.
QPixmap SheetPicture(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x8a, 0x6a, 0x3a), 1));
    p.setBrush(QColor(0xf0, 0xdc, 0xb0));
    p.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
    p.setPen(QPen(QColor(0x8a, 0x6a, 0x3a), 1, Qt::DashLine));
    p.drawLine(QPointF(width / 2.0, 0), QPointF(width / 2.0, height));
    p.drawLine(QPointF(0, height / 2.0), QPointF(width, height / 2.0));
    return pixmap;
}

} // namespace

QString TForm1::Version() {
    return QStringLiteral(VORN_VERSION);
}

TForm1::TForm1(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(tr("关于 Vorn"));
    // A title bar without system menu or close box: the button closes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(412, 246);

    auto* frame = new QLabel(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(8, 8, 396, 188);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("ProgramIcon"));
    logo->setPixmap(Logo(64));
    logo->setGeometry(24, 24, 64, 64);

    auto* product = new QLabel(QStringLiteral("Vorn"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setBold(true);
    big.setPixelSize(19);
    product->setFont(big);
    product->setStyleSheet(QStringLiteral("color: blue"));
    product->setGeometry(108, 26, 280, 26);

    auto* second = new QLabel(QStringLiteral("Vorn"), this);
    second->setObjectName(QStringLiteral("Copyright"));
    QFont bold = second->font();
    bold.setBold(true);
    second->setFont(bold);
    second->setStyleSheet(QStringLiteral("color: red"));
    second->setGeometry(108, 56, 280, 20);

    auto* subtitle = new QLabel(tr("PCB 拼板与开料规划"), this);
    subtitle->setGeometry(108, 80, 280, 20);

    auto* versionCaption = new QLabel(tr("版本："), this);
    versionCaption->setGeometry(108, 112, 44, 20);
    version_ = new QLabel(this);
    version_->setObjectName(QStringLiteral("Version"));
    version_->setText(Version());
    // A caption longer than its place (English) pushes the number along.
    versionCaption->adjustSize();
    const int versionX = std::max(152, versionCaption->x() + versionCaption->width() + 4);
    version_->setGeometry(versionX, 112, 200, 20);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(SheetPicture(64, 44));
    picture->setGeometry(24, 136, 64, 44);

    auto* ok = new QPushButton(tr("确  定"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setGeometry(168, 208, 76, 28);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
