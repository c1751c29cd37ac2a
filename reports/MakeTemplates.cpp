// Build step: the two report templates beside the program, generated from the
// page description and the fixed parts in reports/templates/.

#include "ReportTemplate.h"
#include "SafeWrite.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vorn_maketemplates FIXED_PARTS_DIR OUTPUT_DIR\n");
        return 2;
    }
    const QString fixedParts = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (const vorn::report::PageLayout* page :
         {&vorn::report::OneSizePage(), &vorn::report::TwoSizePage()}) {
        vorn::report::ZipParts parts;
        QByteArray zip;
        QString error;
        if (!vorn::report::MakeTemplatePackage(*page, fixedParts, parts, &error) ||
            !vorn::report::WriteZip(parts, zip, &error) ||
            !vorn::SafeWriteFile(out.filePath(page->templateFile), zip, &error)) {
            std::fprintf(stderr, "vorn_maketemplates: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
