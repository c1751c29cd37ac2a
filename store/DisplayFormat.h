#pragma once

#include <QDateTime>
#include <QString>

namespace vorn {

// Display formats of the data layer, the only place where a stored value is
// turned into the text a grid, an edit field, a report or the defaults file
// shows. Formats understood:
//   "0.0" "0.00" "0.000" "0.0000" "#0.000"  fixed decimals
//   "#,##0.0000"                             four decimals, thousands separated by ","
//   "0.000%"                                 three decimals and a literal "%" (no scaling)
//   "##:##:##"                               an integer's digits in pairs joined by ":"
//   "yyyy-mm-dd"                             a date
//   "√"                                      yes/no: "√" for true, empty for false
//   ""                                       shortest general form, up to 15 significant digits
namespace DisplayFormat {

inline const QString YesNoCheck = QStringLiteral("√");

QString formatNumber(double value, const QString& format);
QString formatDateTime(const QDateTime& value, const QString& format);
QString formatBool(bool value, const QString& format);

// A length pair "L×W" with each side in the given format; the sign is U+00D7.
QString joinPair(const QString& first, const QString& second, QChar separator);

} // namespace DisplayFormat
} // namespace vorn
