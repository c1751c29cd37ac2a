#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace vorn {

// Every file the program writes goes through here: the bytes go to a
// temporary file beside the target, which replaces the target (by rename)
// only after every write, the flush and the sync succeeded. On failure the old
// file is untouched, nothing half-written remains, and `error` (when given)
// names the file and the real reason ("No space left on device", "Permission
// denied"), never a bare "Unknown error".
//
// The body writes to `out` and returns false to give up; it may set `error`
// itself (its text is kept), otherwise the device's reason is used.
using WriteBody = std::function<bool(QIODevice& out, QString* error)>;
bool SafeWriteFile(const QString& path, const WriteBody& body, QString* error = nullptr);
bool SafeWriteFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Copies `from` over `to` the same way (a backup, a restore, a template).
bool SafeCopyFile(const QString& from, const QString& to, QString* error = nullptr);

// Fault injection for tests: while set, every safe write fails once
// `afterBytes` bytes have gone to one file, with `reason` as the device's
// error (as a full disk would). Cleared by ClearInjectedWriteFailure().
void InjectWriteFailure(qint64 afterBytes, const QString& reason);
void ClearInjectedWriteFailure();

} // namespace vorn
