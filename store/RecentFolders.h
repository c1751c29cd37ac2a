#pragma once
// The folder each kind of file dialog used last, remembered between runs in
// the user's own settings file (Vorn.ini in the user's configuration folder,
// not the program's defaults file).

#include <QString>

class QFileDialog;

namespace vorn {

enum class FileKind { Pictures, Reports, PartLists, Backups };

// Points `dialog` at the folder last used for `kind` when it still exists;
// otherwise the dialog starts where it always did. Call before selectFile()
// with a bare name, which then lands in that folder.
void StartInLastFolder(QFileDialog& dialog, FileKind kind);

// Remembers the folder of the chosen `file` for `kind`.
void RememberFolder(FileKind kind, const QString& file);

// The remembered folder (empty when none), as the next dialog would use it.
QString LastFolder(FileKind kind);

} // namespace vorn
