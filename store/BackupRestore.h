#pragma once
// Backup and restore of the database file: the copies themselves (plain
// paths, also used by vornplan) and the two commands with their dialogs and
// messages.

#include <QString>
#include <functional>

class QWidget;

namespace vorn {

// Copies the database at `live` to `target` as one consistent snapshot: it is
// read through SQLite's online backup (complete and valid even while another
// connection writes) and written whole-or-nothing beside the target, which it
// replaces by rename. The source must be a sound database first (not empty,
// holding tables, passing the quick check) and so must the copy before it
// replaces an older backup. The live file itself is refused as a target.
// False with `error` set when nothing was written.
bool BackupDatabase(const QString& live, const QString& target, QString* error = nullptr);

// What is wrong with `source` as a restore candidate for `live`: missing, the
// live file itself, not a database, lacking a table or column of the
// program's schema, or damaged. Empty when it may be restored.
QString CheckRestoreSource(const QString& source, const QString& live);

// Replaces the content of the live database by `source`, checked first, in
// one write transaction of the live file through SQLite's online backup: every
// connection to it (another window too) sees the restored content, and while
// another program holds the file the restore waits briefly and is refused.
// On any failure the live file is left as it was and `error` says why.
bool RestoreDatabase(const QString& source, const QString& live, QString* error = nullptr);

// What the two commands ask of the user.
class BackupRestoreDialogs {
public:
    virtual ~BackupRestoreDialogs() = default;
    // The save dialog (backup) and the open dialog (restore) with the initial
    // file name; empty when cancelled.
    virtual QString ChooseBackupTarget(const QString& initialName) = 0;
    virtual QString ChooseRestoreSource(const QString& initialName) = 0;
    // A question with Yes and No (confirmation kind).
    virtual bool AskYesNo(const QString& text) = 0;
    // A message with OK (confirmation kind, as the commands' own messages).
    virtual void Tell(const QString& text) = 0;
    // A failure: nothing was changed.
    virtual void Warn(const QString& text) = 0;
};

// The dialogs as the program shows them, over `parent`.
class StandardBackupRestoreDialogs : public BackupRestoreDialogs {
public:
    explicit StandardBackupRestoreDialogs(QWidget* parent) : m_parent(parent) {}
    QString ChooseBackupTarget(const QString& initialName) override;
    QString ChooseRestoreSource(const QString& initialName) override;
    bool AskYesNo(const QString& text) override;
    void Tell(const QString& text) override;
    void Warn(const QString& text) override;

private:
    QString Choose(bool save, const QString& initialName);
    QWidget* m_parent;
};

// "数据备份" and "恢复数据". `closeConnection` runs before the file is copied
// (the next cursor that opens reconnects). True when the copy was made: the
// caller then starts a new job on the file as it now is.
bool BackupCommand(BackupRestoreDialogs& ui, const QString& live,
                   const std::function<void()>& closeConnection);
bool RestoreCommand(BackupRestoreDialogs& ui, const QString& live,
                    const std::function<void()>& closeConnection);

} // namespace vorn
