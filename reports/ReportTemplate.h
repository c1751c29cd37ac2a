#pragma once
// The workbook templates, generated at build time from the page description:
// the fixed parts come from reports/templates/, the workbook, the cell formats
// and the two sheets are written from ReportPage.

#include "ReportPage.h"
#include "ZipParts.h"

class QXmlStreamWriter;

namespace vorn::report {

// The formula of a page cell (without "="), e.g. `Data!B2&""`; empty for a
// cell that holds a literal text or the company name.
QString FormulaOf(const PageCell& cell);

// The template package of a page; `fixedPartsDir` holds the fixed parts.
bool MakeTemplatePackage(const PageLayout& page, const QString& fixedPartsDir, ZipParts& out,
                         QString* error);

// The captions of the "Data" sheet's first row (as the template holds them).
QStringList DataSheetHeads();

// Writes text as the cell's inline string (the current element is the cell).
void InlineString(QXmlStreamWriter& w, const QString& text);

// Column width in the workbook's character units for a width in points.
double ColumnCharacters(double points);

inline constexpr const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr const char* kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

} // namespace vorn::report
