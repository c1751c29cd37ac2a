#pragma once
// The report workbook: a copy of the template's package with the "Data"
// sheet filled, the company name in A1 of the first sheet and the pictures
// placed on it.

#include "ReportContent.h"

#include <QByteArray>
#include <QString>

namespace vorn::report {

// The template of a job in the program directory.
QString TemplatePath(const QString& programDir, bool twoSize);

// The message when the template is missing.
QString TemplateMissingMessage();

// Builds the workbook's bytes from the template. On failure returns false
// with the reason in `error`.
bool BuildReportWorkbook(const ReportContent& content, const QString& templatePath,
                         QByteArray& workbook, QString* error);

// Builds it and writes it whole (or not at all) to `path`.
bool WriteReportWorkbook(const ReportContent& content, const QString& templatePath,
                         const QString& path, QString* error);

} // namespace vorn::report
