#pragma once
// A real small file system for tests of a full disk: a tmpfs mounted on a
// temporary folder and unmounted at the end. Mounting needs root; a test that
// cannot mount says so and skips, except under CI, where it fails.

#include <QString>
#include <QTemporaryDir>
#include <QTest>

namespace vorn::test {

class TinyDisk {
public:
    // Mounts a tmpfs of `bytes` (rounded up to whole pages by the kernel).
    explicit TinyDisk(qint64 bytes = 64 * 1024);
    ~TinyDisk();
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;

    bool isMounted() const { return m_mounted; }
    QString whyNotMounted() const { return m_why; }
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    qint64 freeBytes() const;
    // Writes a filler file so that `bytes` (rounded down to a block) stay free;
    // 0 fills the disk to the last byte. False when the disk has less free.
    bool leaveFree(qint64 bytes);
    // Every file on the disk but the filler.
    QStringList files() const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

// True under CI, where a full-disk test must run rather than skip.
bool RunningInCi();

} // namespace vorn::test

// Skips loudly when the disk could not be mounted, or fails under CI.
#define VORN_REQUIRE_MOUNTED(disk)                                                                 \
    do {                                                                                           \
        if (!(disk).isMounted()) {                                                                 \
            const QString vornWhy_ =                                                               \
                QStringLiteral("NO REAL FULL-DISK TEST: a tmpfs cannot be mounted here (%1); "     \
                               "run as root")                                                      \
                    .arg((disk).whyNotMounted());                                                  \
            if (::vorn::test::RunningInCi())                                                       \
                QFAIL(qPrintable(vornWhy_));                                                       \
            QSKIP(qPrintable(vornWhy_));                                                           \
        }                                                                                          \
    } while (false)
