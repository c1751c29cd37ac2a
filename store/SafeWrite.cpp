#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace vorn {

namespace {

struct InjectedFailure {
    qint64 afterBytes;
    QString reason;
};
std::optional<InjectedFailure> g_injected;

// Passes writes on to the save file, counting them, so that an injected fault
// behaves like a device that stops taking bytes half-way.
class GuardedDevice : public QIODevice {
public:
    explicit GuardedDevice(QSaveFile& file) : m_file(file) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    const QString& failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (!m_failure.isEmpty())
            return -1;
        if (g_injected && m_written + size > g_injected->afterBytes) {
            m_failure = g_injected->reason;
            setErrorString(m_failure);
            return -1;
        }
        const qint64 n = m_file.write(data, size);
        if (n != size) {
            m_failure = m_file.errorString();
            setErrorString(m_failure);
            return -1;
        }
        m_written += n;
        return n;
    }

private:
    QSaveFile& m_file;
    qint64 m_written = 0;
    QString m_failure;
};

QString describe(const QString& path, const QString& reason) {
    const QString why = reason.trimmed().isEmpty() || reason == QLatin1String("Unknown error")
                            ? QStringLiteral("the data could not be written")
                            : reason;
    return QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), why);
}

} // namespace

bool SafeWriteFile(const QString& path, const WriteBody& body, QString* error) {
    QString bodyError;
    auto fail = [&](const QString& reason) {
        if (error)
            *error = bodyError.isEmpty() ? describe(path, reason) : bodyError;
        return false;
    };
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("a folder of that name exists"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    GuardedDevice out(file);
    const bool written = body(out, &bodyError);
    if (!written || !out.failure().isEmpty()) {
        file.cancelWriting();
        return fail(!out.failure().isEmpty() ? out.failure() : out.errorString());
    }
    if (!file.commit()) // flushes, syncs and renames; the old file stays on failure
        return fail(file.errorString());
    return true;
}

bool SafeWriteFile(const QString& path, const QByteArray& bytes, QString* error) {
    return SafeWriteFile(
        path, [&](QIODevice& out, QString*) { return out.write(bytes) == bytes.size(); }, error);
}

bool SafeCopyFile(const QString& from, const QString& to, QString* error) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2")
                         .arg(QDir::toNativeSeparators(from), source.errorString());
        return false;
    }
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath()) {
        if (error)
            *error = QStringLiteral("\"%1\" cannot be copied onto itself")
                         .arg(QDir::toNativeSeparators(from));
        return false;
    }
    return SafeWriteFile(
        to,
        [&](QIODevice& out, QString* bodyError) {
            QByteArray chunk;
            while (!(chunk = source.read(1 << 20)).isEmpty())
                if (out.write(chunk) != chunk.size())
                    return false;
            if (source.error() != QFileDevice::NoError) {
                *bodyError = QStringLiteral("Cannot read \"%1\": %2")
                                 .arg(QDir::toNativeSeparators(from), source.errorString());
                return false;
            }
            return true;
        },
        error);
}

void InjectWriteFailure(qint64 afterBytes, const QString& reason) {
    g_injected = InjectedFailure{afterBytes, reason};
}

void ClearInjectedWriteFailure() {
    g_injected.reset();
}

} // namespace vorn
