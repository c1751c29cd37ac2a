#include "NewJob.h"

#include "DefaultsList.h"
#include "Units.h"

#include <QCoreApplication>
#include <algorithm>
#include <stdexcept>

namespace vorn {

std::optional<double> DefaultNumber(const DefaultsList& list, const char* name) {
    const QString text = list.Value(QString::fromLatin1(name)).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) {
        throw std::runtime_error(QStringLiteral("'%1' is not a valid number for %2 in %3")
                                     .arg(text, QString::fromLatin1(name), DefaultsList::FileName())
                                     .toStdString());
    }
    return value;
}

std::optional<double> DefaultLength(const DefaultsList& list, const char* name, bool mm) {
    const std::optional<double> inches = DefaultNumber(list, name);
    if (!inches)
        return std::nullopt;
    return InchesToDisplay(*inches, mm);
}

int DefaultPanelKinds(const DefaultsList& list) {
    bool ok = false;
    const int n = list.Value(QStringLiteral("PanelNumber")).trimmed().toInt(&ok);
    if (!ok)
        return 1;
    return std::clamp(n, 1, 2);
}

} // namespace vorn
