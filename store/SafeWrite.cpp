#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

struct InjectedFailure {
    WriteStep step;
    qint64 afterBytes;
    int code;       // errno, or 0 when only `reason` is given
    QString reason; // text of an injected write fault without a code
};
std::optional<InjectedFailure> g_injected;
std::atomic<bool> g_chinese{false};

bool Injected(WriteStep step) {
    return g_injected && g_injected->step == step;
}

QString SystemText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// Why a step failed: the system's code (errno) or, for an injected fault
// without one, its text.
struct Reason {
    int code = 0;
    QString text;
    QString Words() const { return code ? SystemReason(code) : text; }
};

// An unbuffered device on a file descriptor: every byte reaches the kernel
// before write() returns, so a full disk is seen at the write that meets it.
class FdDevice : public QIODevice {
public:
    explicit FdDevice(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    const std::optional<Reason>& failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (m_failure)
            return -1;
        if (Injected(WriteStep::Write) && m_written + size > g_injected->afterBytes)
            return Fail({g_injected->code, g_injected->reason});
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return Fail({errno, {}});
            if (n == 0) // no progress and no reason: a full disk by any other name
                return Fail({ENOSPC, {}});
            done += n;
        }
        m_written += done;
        return done;
    }

private:
    qint64 Fail(const Reason& why) {
        m_failure = why;
        setErrorString(why.Words());
        return -1;
    }
    int m_fd;
    qint64 m_written = 0;
    std::optional<Reason> m_failure;
};

// A step that may be interrupted by a signal before it did anything.
template <class F> int Retrying(F step) {
    int r;
    do
        r = step();
    while (r < 0 && errno == EINTR);
    return r;
}

// Follows links as the file manager shows them: the link stays, its target
// gets the new bytes.
QString FinalPath(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink() && depth < 40; ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.absoluteFilePath();
}

// A new empty file beside `target` that no one else has, or -1 with errno.
int CreateTemporary(const QString& target, QByteArray* name) {
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = QFile::encodeName(info.dir().filePath(
            QStringLiteral(".%1.%2")
                .arg(info.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
        // 0666 less the umask, as any new file gets.
        const int fd = Retrying([&] {
            return ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        });
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void SyncFolder(const QByteArray& file) {
    const QByteArray dir = QFile::encodeName(QFileInfo(QFile::decodeName(file)).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // The new file is in place whatever happens here; a folder that cannot be
    // synced only risks the rename across a power cut, so it is no failure.
    if (::fsync(fd) != 0 && errno != EINVAL)
        qWarning("Cannot sync the folder of %s: %s", file.constData(), std::strerror(errno));
    ::close(fd);
}

} // namespace

QString SystemReason(int code) {
    if (!g_chinese)
        return SystemText(code);
    switch (code) {
    case ENOSPC:
        return QStringLiteral("磁盘空间不足");
    case EDQUOT:
        return QStringLiteral("超出磁盘配额");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入权限");
    case EROFS:
        return QStringLiteral("磁盘为只读");
    case EIO:
        return QStringLiteral("磁盘读写错误");
    case ENOENT:
        return QStringLiteral("文件夹不存在");
    case EISDIR:
        return QStringLiteral("已有同名的文件夹");
    case EFBIG:
        return QStringLiteral("文件太大");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    default:
        return SystemText(code);
    }
}

QString CannotWriteMessage(const QString& path, const QString& reason) {
    const QString file = QDir::toNativeSeparators(path);
    return g_chinese ? QStringLiteral("无法写入文件 “%1”：%2").arg(file, reason)
                     : QStringLiteral("Cannot write \"%1\": %2").arg(file, reason);
}

QString CannotReadMessage(const QString& path, const QString& reason) {
    const QString file = QDir::toNativeSeparators(path);
    return g_chinese ? QStringLiteral("无法读取文件 “%1”：%2").arg(file, reason)
                     : QStringLiteral("Cannot read \"%1\": %2").arg(file, reason);
}

void SpeakChineseInMessages(bool on) {
    g_chinese = on;
}

bool MessagesInChinese() {
    return g_chinese;
}

bool SafeWriteFile(const QString& path, const WriteBody& body, QString* error) {
    QString bodyError;
    auto fail = [&](const Reason& why) {
        if (error)
            *error = !bodyError.isEmpty() && why.code == 0 && why.text.isEmpty()
                         ? bodyError
                         : CannotWriteMessage(path, why.Words());
        return false;
    };
    const QString target = FinalPath(path);
    const QFileInfo existing(target);
    if (existing.isDir())
        return fail({EISDIR, {}});
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old {};
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    // An existing file that may not be written is not replaced behind the
    // owner's back, even where the folder would allow it.
    if (replacing && ::access(targetName.constData(), W_OK) != 0)
        return fail({errno, {}});

    QByteArray tempName;
    const int fd = CreateTemporary(target, &tempName);
    if (fd < 0)
        return fail({errno, {}});
    auto discard = [&](const Reason& why) {
        ::unlink(tempName.constData());
        return fail(why);
    };
    // The replacement keeps the old file's permissions and, where allowed,
    // its owner.
    if (replacing) {
        if (::fchmod(fd, old.st_mode & 07777) != 0) {
            const int code = errno;
            ::close(fd);
            return discard({code, {}});
        }
        struct stat made {};
        if (::fstat(fd, &made) == 0 && (made.st_uid != old.st_uid || made.st_gid != old.st_gid))
            (void)::fchown(fd, old.st_uid, old.st_gid);
    }

    std::optional<Reason> failure;
    {
        FdDevice out(fd);
        const bool written = body(out, &bodyError);
        if (out.failure())
            failure = out.failure();
        else if (!written)
            failure = Reason{0, {}};
    }
    if (!failure && Injected(WriteStep::Sync))
        failure = Reason{g_injected->code, g_injected->reason};
    if (!failure && Retrying([&] { return ::fsync(fd); }) != 0)
        failure = Reason{errno, {}};
    // A network file system may report a lost write only at close.
    if (::close(fd) != 0 && !failure && errno != EINTR)
        failure = Reason{errno, {}};
    if (failure) {
        if (failure->code == 0 && failure->text.isEmpty() && bodyError.isEmpty())
            failure->text = g_chinese ? QStringLiteral("数据无法生成")
                                      : QStringLiteral("the data could not be made");
        return discard(*failure);
    }
    if (Injected(WriteStep::Rename))
        return discard({g_injected->code, g_injected->reason});
    if (::rename(tempName.constData(), targetName.constData()) != 0)
        return discard({errno, {}});
    SyncFolder(targetName);
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
            *error = CannotReadMessage(from, source.errorString());
        return false;
    }
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath()) {
        if (error)
            *error = g_chinese ? QStringLiteral("文件 “%1” 不能复制到它自身")
                                     .arg(QDir::toNativeSeparators(from))
                               : QStringLiteral("\"%1\" cannot be copied onto itself")
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
                *bodyError = CannotReadMessage(from, source.errorString());
                return false;
            }
            return true;
        },
        error);
}

void InjectWriteFailure(qint64 afterBytes, const QString& reason) {
    g_injected = InjectedFailure{WriteStep::Write, afterBytes, 0, reason};
}

void InjectWriteFailure(WriteStep step, int code, qint64 afterBytes) {
    g_injected = InjectedFailure{step, afterBytes, code, {}};
}

void ClearInjectedWriteFailure() {
    g_injected.reset();
}

} // namespace vorn
