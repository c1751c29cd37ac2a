#include "MyPro.h"

#include <QFileInfo>
#include <QImageWriter>

namespace vorn {

bool SavePicture(const QImage& image, const QString& fileName, QString* error) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    QByteArray format = "BMP";
    if (suffix == QLatin1String("png"))
        format = "PNG";
    else if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        format = "JPEG";
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("there is no picture to save");
        return false;
    }
    QImageWriter writer(fileName, format);
    if (format == "JPEG")
        writer.setQuality(95); // thin lines and small labels blur at lower settings
    if (!writer.write(image)) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    return true;
}

} // namespace vorn
