#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace vorn {

// Every file the program writes goes through here: the bytes go, unbuffered,
// to a new file beside the target; it is synced and closed, and replaces the
// target (by rename) only after every write, the sync and the close succeeded;
// the folder is synced after. On failure the old file is untouched, nothing
// half-written remains, and `error` (when given) names the file and the
// system's reason ("No space left on device", "Permission denied"), never a
// bare "Unknown error". A replaced file keeps its permissions; a link keeps
// pointing where it did and its target gets the new bytes.
//
// The body writes to `out` and returns false to give up; it may set `error`
// itself (its text is kept), otherwise the device's reason is used.
using WriteBody = std::function<bool(QIODevice& out, QString* error)>;
bool SafeWriteFile(const QString& path, const WriteBody& body, QString* error = nullptr);
bool SafeWriteFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Copies `from` over `to` the same way (a backup, a restore, a template).
bool SafeCopyFile(const QString& from, const QString& to, QString* error = nullptr);

// The system's reason for an errno code: its own text, or in the window's
// Chinese for the common ones (a full disk, no permission, a read-only disk).
QString SystemReason(int code);
// "Cannot write "file": reason" (or read), worded for the command line or,
// once SpeakChineseInMessages() was called, for the window.
QString CannotWriteMessage(const QString& path, const QString& reason);
QString CannotReadMessage(const QString& path, const QString& reason);
// The window's start asks for Chinese; the command-line tool keeps English.
// The store's messages (backup, restore, the schema check) follow it too.
void SpeakChineseInMessages(bool on);
bool MessagesInChinese();

// Fault injection for the faults a small real disk cannot make (a failing
// sync or rename). While set, every safe write fails at that step: a write
// once `afterBytes` bytes have gone to one file, with `reason` or the errno
// `code` as the reason. Cleared by ClearInjectedWriteFailure().
enum class WriteStep { Write, Sync, Rename };
void InjectWriteFailure(qint64 afterBytes, const QString& reason);
void InjectWriteFailure(WriteStep step, int code, qint64 afterBytes = 0);
void ClearInjectedWriteFailure();

} // namespace vorn
