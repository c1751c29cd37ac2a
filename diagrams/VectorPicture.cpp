#include "VectorPicture.h"

#include "SafeWrite.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <memory>

namespace vorn {

bool IsVectorPictureName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == QLatin1String("svg") || suffix == QLatin1String("pdf");
}

bool SaveVectorPicture(const QString& fileName, QSize size,
                       const std::function<void(const DiagramCanvas&)>& draw, QString* error) {
    // The window's Chinese or the command line's English (SpeakChineseInMessages).
    const bool zh = MessagesInChinese();
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, why);
        return false;
    };
    if (!IsVectorPictureName(fileName))
        return fail(zh ? QStringLiteral("矢量图须为 .svg 或 .pdf 文件")
                       : QStringLiteral("a vector picture is a .svg or a .pdf file"));
    if (size.width() < 1 || size.height() < 1)
        return fail(zh ? QStringLiteral("没有可保存的图")
                       : QStringLiteral("there is no picture to save"));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        std::unique_ptr<QPaintDevice> device;
        if (QFileInfo(fileName).suffix().toLower() == QLatin1String("svg")) {
            auto svg = std::make_unique<QSvgGenerator>();
            svg->setOutputDevice(&buffer);
            svg->setSize(size);
            svg->setViewBox(QRect(QPoint(0, 0), size));
            svg->setResolution(72);
            svg->setTitle(QFileInfo(fileName).completeBaseName());
            device = std::move(svg);
        } else {
            auto pdf = std::make_unique<QPdfWriter>(&buffer);
            pdf->setResolution(72); // one pixel of the diagram is one point
            pdf->setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
            pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
            pdf->setCreator(QStringLiteral("Vorn"));
            device = std::move(pdf);
        }
        QPainter painter;
        if (!painter.begin(device.get()))
            return fail(zh ? QStringLiteral("无法绘制此图")
                           : QStringLiteral("the picture cannot be drawn"));
        draw(DiagramCanvas(painter, size));
        painter.end();
    }
    return SafeWriteFile(fileName, bytes, error);
}

} // namespace vorn
