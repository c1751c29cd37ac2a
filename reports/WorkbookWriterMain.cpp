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
    // Every cell at the top of its row: a row made taller for a wrapped text
    // still reads as one line.
    lxw_format* plain = workbook_add_format(book);
    format_set_align(plain, LXW_ALIGN_VERTICAL_TOP);
    QVector<lxw_format*> formats;
    auto formatOf = [&formats, plain](qint32 index) {
        return index >= 0 && index < formats.size() ? formats[index] : plain;
    };
    bool wellFormed = true;
    for (;;) {
        quint8 kind = 0;
        s >> kind;
        if (s.status() != QDataStream::Ok || kind == quint8(vorn::CellKind::End))
            break;
        switch (vorn::CellKind(kind)) {
        case vorn::CellKind::Format: {
            qint32 index = 0;
            QString numberFormat;
            bool bold = false, wrap = false;
            s >> index >> numberFormat >> bold >> wrap;
            lxw_format* f = workbook_add_format(book);
            if (!numberFormat.isEmpty())
                format_set_num_format(f, numberFormat.toUtf8().constData());
            if (bold)
                format_set_bold(f);
            if (wrap)
                format_set_text_wrap(f);
            format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
            if (index == formats.size())
                formats.append(f);
            else
                wellFormed = false;
            break;
        }
        case vorn::CellKind::Sheet: {
            bool landscape = false, fitToWidth = false;
            qint32 frozen = 0;
            s >> landscape >> fitToWidth >> frozen;
            worksheet_set_paper(sheet, 9); // A4
            if (landscape)
                worksheet_set_landscape(sheet);
            if (fitToWidth)
                worksheet_fit_to_pages(sheet, 1, 0);
            if (frozen > 0) {
                worksheet_freeze_panes(sheet, lxw_row_t(frozen), 0);
                worksheet_repeat_rows(sheet, 0, lxw_row_t(frozen - 1));
            }
            break;
        }
        case vorn::CellKind::Column: {
            qint32 col = 0, format = -1;
            double width = 0;
            s >> col >> width >> format;
            worksheet_set_column(sheet, lxw_col_t(col), lxw_col_t(col), width, formatOf(format));
            break;
        }
        case vorn::CellKind::Row: {
            qint32 row = 0;
            double height = 0;
            s >> row >> height;
            worksheet_set_row(sheet, lxw_row_t(row), height, nullptr);
            break;
        }
        case vorn::CellKind::Text: {
            qint32 row = 0, col = 0, format = -1;
            QString text;
            s >> row >> col >> text >> format;
            worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(col), text.toUtf8().constData(),
                                   formatOf(format));
            break;
        }
        case vorn::CellKind::Number: {
            qint32 row = 0, col = 0, format = -1;
            double value = 0;
            s >> row >> col >> value >> format;
            worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(col), value, formatOf(format));
            break;
        }
        default:
            wellFormed = false;
            break;
        }
        if (!wellFormed)
            break;
    }
    const bool complete = wellFormed && s.status() == QDataStream::Ok;
    const lxw_error result = workbook_close(book);
    if (!complete) {
        std::fprintf(stderr, "The cell file \"%s\" is cut short or malformed.\n", argv[1]);
        return 1;
    }
    if (result != LXW_NO_ERROR) {
        std::fprintf(stderr, "The workbook \"%s\" cannot be written: %s.\n", argv[2],
                     lxw_strerror(result));
        return 1;
    }
    return 0;
}
