#pragma once
// Helpers shared by the shell's window tests.

#include "Cursor.h"
#include "DataModule.h"
#include "VornTestSupport.h"

#include <QFile>
#include <QVariantList>
#include <memory>

// A fresh program directory: database, shipped defaults and the help file.
inline std::unique_ptr<vorn::test::ProgramDir> NewProgramDir() {
    auto dir = std::make_unique<vorn::test::ProgramDir>();
    if (!dir->isValid())
        return nullptr;
    if (!QFile::copy(QStringLiteral(VORN_SOURCE_DIR "/shell/Vorn.html"),
                     dir->file(QStringLiteral("Vorn.html"))))
        return nullptr;
    return dir;
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

inline QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// 4 × 2 boards, twelve on an 18 × 12 panel, on a 48-inch sheet: a consistent
// plan, posted into the job row.
inline void PutValidPlan(vorn::TDataM1& data) {
    vorn::Cursor& job = data.TempInput;
    job.edit();
    job.setValue("Set_L", 4.0);
    job.setValue("Set_W", 2.0);
    job.setValue("Panel_L", 18.0);
    job.setValue("Panel_W", 12.0);
    job.setValue("Panel", 12);
    job.setValue("Panel_lv", 100.0 * 4 * 2 * 12 / (18 * 12));
    job.setValue("Base_L", 48.0);
    job.setValue("Layer", 4);
    job.post();
}

// Every column of the current row but the autonumber, which the first post
// assigns, to compare a row before and after.
inline QVariantList RowValues(const vorn::Cursor& cursor) {
    QVariantList values;
    for (int i = 0; i < cursor.fieldCount(); ++i) {
        if (cursor.field(i).name != QLatin1String("ID"))
            values << cursor.value(i);
    }
    return values;
}
