#include "TinyDisk.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vorn::test {

namespace {
const char kFiller[] = ".filler";
}

TinyDisk::TinyDisk(qint64 bytes) {
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("no temporary folder");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", 0, options.constData()) !=
        0) {
        m_why = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_mounted = true;
}

TinyDisk::~TinyDisk() {
    if (m_mounted && ::umount2(QFile::encodeName(path()).constData(), MNT_DETACH) != 0)
        qWarning("cannot unmount %s: %s", qPrintable(path()), std::strerror(errno));
}

qint64 TinyDisk::freeBytes() const {
    struct statvfs s {};
    if (::statvfs(QFile::encodeName(path()).constData(), &s) != 0)
        return -1;
    return qint64(s.f_bavail) * qint64(s.f_frsize);
}

bool TinyDisk::leaveFree(qint64 bytes) {
    const int fd = ::open(QFile::encodeName(file(QString::fromLatin1(kFiller))).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // A tmpfs counts whole pages: one page at a time until at most `bytes`
    // stay free.
    static const QByteArray page(4096, 'f');
    bool ok = true;
    while (freeBytes() > bytes) {
        if (::write(fd, page.constData(), size_t(page.size())) < 0) {
            ok = errno == ENOSPC && bytes == 0;
            break;
        }
    }
    ::close(fd);
    return ok && freeBytes() <= bytes;
}

QStringList TinyDisk::files() const {
    QStringList names = QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(QString::fromLatin1(kFiller));
    return names;
}

bool RunningInCi() {
    const QByteArray ci = qgetenv("CI").toLower();
    return !ci.isEmpty() && ci != "false" && ci != "0";
}

} // namespace vorn::test
