// vorn_xlsxwriter CELLS WORKBOOK: makes a one-sheet .xlsx from a cell file
// written by WorkbookCells. Kept apart from the program: the spreadsheet
// library's zip functions share their names with the report's zip library.

#include "WorkbookCells.h"

#include <QDataStream>
#include <QFile>
#include <QVector>

#include <xlsxwriter.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vorn_xlsxwriter CELLS WORKBOOK\n");
        return 2;
    }
    QFile in(QFile::decodeName(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Cannot read \"%s\": %s\n", argv[1], qPrintable(in.errorString()));
        return 1;
    }
    QDataStream s(&in);
    s.setVersion(QDataStream::Qt_6_0);
    char magic[sizeof vorn::kWorkbookCellsMagic];
    if (s.readRawData(magic, int(sizeof magic)) != int(sizeof magic) ||
        std::memcmp(magic, vorn::kWorkbookCellsMagic, sizeof magic) != 0) {
        std::fprintf(stderr, "\"%s\" is not a cell file.\n", argv[1]);
        return 1;
    }
    // Rows go out as they come, strings inline: a long list stays quick.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(argv[2], &options);
    if (!book) {
        std::fprintf(stderr, "The workbook \"%s\" cannot be made.\n", argv[2]);
        return 1;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    QVector<lxw_format*> formats;
    for (;;) {
        quint8 kind = 0;
        qint32 row = 0, col = 0;
        s >> kind;
        if (s.status() != QDataStream::Ok || kind == quint8(vorn::CellKind::End))
            break;
        s >> row >> col;
        if (kind == quint8(vorn::CellKind::Text)) {
            QString text;
            s >> text;
            worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(col), text.toUtf8().constData(),
                                   nullptr);
        } else {
            double value = 0;
            qint32 index = -1;
            QString announce;
            s >> value >> index >> announce;
            if (!announce.isEmpty()) {
                lxw_format* f = workbook_add_format(book);
                format_set_num_format(f, announce.toUtf8().constData());
                formats.append(f);
            }
            worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(col), value,
                                   index >= 0 && index < formats.size() ? formats[index] : nullptr);
        }
    }
    const bool complete = s.status() == QDataStream::Ok;
    const lxw_error result = workbook_close(book);
    if (!complete) {
        std::fprintf(stderr, "The cell file \"%s\" is cut short.\n", argv[1]);
        return 1;
    }
    if (result != LXW_NO_ERROR) {
        std::fprintf(stderr, "The workbook \"%s\" cannot be written: %s.\n", argv[2],
                     lxw_strerror(result));
        return 1;
    }
    return 0;
}
