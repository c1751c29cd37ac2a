#include "DiagramRoutines.h"

#include "SafeWrite.h"
#include "VectorPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

namespace vorn {

bool IsPictureName(const QString& fileName) {
    static const QStringList raster{QStringLiteral("bmp"), QStringLiteral("png"),
                                    QStringLiteral("jpg"), QStringLiteral("jpeg")};
    return raster.contains(QFileInfo(fileName).suffix().toLower()) || IsVectorPictureName(fileName);
}

bool SavePicture(const QImage& image, const QString& fileName, QString* error) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    QByteArray format = "BMP";
    if (suffix == QLatin1String("png"))
        format = "PNG";
    else if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        format = "JPEG";
    if (image.isNull()) {
        if (error)
            *error = MessagesInChinese() ? QStringLiteral("没有可保存的图")
                                         : QStringLiteral("there is no picture to save");
        return false;
    }
    // Encoded straight into the safe write: a full disk or a read-only folder
    // leaves an existing picture as it was and reports the real reason.
    return SafeWriteFile(
        fileName,
        [&](QIODevice& out, QString* why) {
            QImageWriter writer(&out, format);
            if (format == "JPEG")
                writer.setQuality(95); // thin lines and small labels blur at lower settings
            if (writer.write(image))
                return true;
            // A failed device write (a full disk) keeps the device's own
            // reason; only an encoder fault is described by the writer.
            const bool deviceFailed = out.errorString() != QBuffer().errorString();
            if (!deviceFailed && why)
                *why = CannotWriteMessage(fileName, writer.errorString());
            return false;
        },
        error);
}

} // namespace vorn
