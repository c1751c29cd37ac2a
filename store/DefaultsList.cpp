#include "DefaultsList.h"

#include "SafeWrite.h"

#include <QFile>

namespace vorn {

namespace {

// The name part of a line, or an empty view when the line holds no "=".
QStringView NameOf(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return {};
    return QStringView(line).left(eq).trimmed();
}

} // namespace

bool DefaultsList::Load(const QString& path) {
    lines_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    lines_ = text.split(QLatin1Char('\n'));
    for (QString& line : lines_) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // The final line end does not open another line.
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
    return true;
}

bool DefaultsList::Save(const QString& path, QString* error) const {
    QByteArray bytes;
    for (const QString& line : lines_) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return SafeWriteFile(path, bytes, error);
}

qsizetype DefaultsList::Find(const QString& name) const {
    const QString wanted = name.trimmed();
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QStringView n = NameOf(lines_.at(i));
        if (!n.isEmpty() && n.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString DefaultsList::Value(const QString& name) const {
    const qsizetype i = Find(name);
    if (i < 0)
        return {};
    const QString& line = lines_.at(i);
    return line.mid(line.indexOf(QLatin1Char('=')) + 1);
}

void DefaultsList::SetValue(const QString& name, const QString& value) {
    if (value.isEmpty()) {
        // Every line of the name goes: removing only the first would bring a
        // stale later line back to life.
        for (qsizetype i = Find(name); i >= 0; i = Find(name))
            lines_.removeAt(i);
        return;
    }
    const qsizetype i = Find(name);
    if (i < 0) {
        lines_.append(name + QLatin1Char('=') + value);
        return;
    }
    // The line keeps its own spelling of the name.
    QString& line = lines_[i];
    line = line.left(line.indexOf(QLatin1Char('=')) + 1) + value;
}

QString DefaultsList::LengthText(double inches) {
    return QString::number(inches, 'g', 15);
}

} // namespace vorn
