#pragma once
// A fresh program directory per test, holding the files shipped beside the
// program.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

inline std::unique_ptr<QTemporaryDir> NewProgramDir() {
    auto dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid())
        return nullptr;
    for (const char* file : {"/store/VornInitS.int", "/shell/Vorn.html"}) {
        const QString from = QStringLiteral(VORN_SOURCE_DIR) + QString::fromLatin1(file);
        if (!QFile::copy(from, dir->filePath(QFileInfo(from).fileName())))
            return nullptr;
    }
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
