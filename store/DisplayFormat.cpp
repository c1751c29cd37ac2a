#include "DisplayFormat.h"

#include <QLocale>

#include <cmath>

namespace vorn::DisplayFormat {

namespace {

// Fixed-point text with a "." decimal point whatever the user's locale, and
// no "-0.000" for a value that rounds to zero.
QString fixed(double value, int decimals, bool groups) {
    QLocale c(QLocale::C);
    c.setNumberOptions(groups ? QLocale::NumberOptions() : QLocale::OmitGroupSeparator);
    QString text = c.toString(value, 'f', decimals);
    if (text.startsWith(u'-')) {
        bool zero = true;
        for (QChar ch : text)
            if (ch.isDigit() && ch != u'0')
                zero = false;
        if (zero)
            text.remove(0, 1);
    }
    return text;
}

int decimalsOf(const QString& format) {
    const qsizetype dot = format.indexOf(u'.');
    if (dot < 0)
        return 0;
    int n = 0;
    for (qsizetype i = dot + 1; i < format.size() && format[i] == u'0'; ++i)
        ++n;
    return n;
}

QString digitPairs(double value) {
    const qint64 n = qint64(std::llround(value));
    QString digits = QString::number(n < 0 ? -n : n);
    QString text;
    // Pairs from the right, at most three groups as the pattern has.
    int groups = 0;
    while (!digits.isEmpty() && groups < 2) {
        const QString pair = digits.right(2);
        digits.chop(pair.size());
        text = (digits.isEmpty() ? QString() : QStringLiteral(":")) + pair + text;
        ++groups;
    }
    text = digits + text;
    return n < 0 ? u'-' + text : text;
}

} // namespace

QString formatNumber(double value, const QString& format) {
    if (format.isEmpty()) {
        if (value == std::trunc(value) && std::fabs(value) < 1e15)
            return QString::number(qint64(value));
        return QString::number(value, 'g', 15);
    }
    if (format == YesNoCheck)
        return formatBool(value != 0, format);
    if (format == u"##:##:##")
        return digitPairs(value);
    const bool percent = format.endsWith(u'%');
    const bool groups = format.contains(u',');
    QString text = fixed(value, decimalsOf(format), groups);
    if (percent)
        text += u'%';
    return text;
}

QString formatDateTime(const QDateTime& value, const QString& format) {
    if (!value.isValid())
        return {};
    if (format.compare(u"yyyy-mm-dd", Qt::CaseInsensitive) == 0)
        return value.date().toString(QStringLiteral("yyyy-MM-dd"));
    if (value.time() == QTime(0, 0))
        return QLocale().toString(value.date(), QLocale::ShortFormat);
    return QLocale().toString(value, QLocale::ShortFormat);
}

QString formatBool(bool value, const QString& format) {
    if (format == YesNoCheck)
        return value ? YesNoCheck : QString();
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString joinPair(const QString& first, const QString& second, QChar separator) {
    return first + separator + second;
}

} // namespace vorn::DisplayFormat
