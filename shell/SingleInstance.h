#pragma once
// One running copy per user: the first copy listens on a local socket named
// after the main window's class and title; a later copy asks it to restore
// and raise its window and then ends without a window of its own.

#include <QObject>
#include <QString>

class QLocalServer;

namespace vorn {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The name used by the program; tests pass their own.
    static QString DefaultKey();

    explicit SingleInstance(const QString& key, QObject* parent = nullptr);

    // True when another copy runs and has been asked to raise itself; false
    // when this copy is the first and now listens.
    bool AskRunningCopy(int timeoutMs = 2000);
    bool Listen();
    bool IsListening() const;

signals:
    void raiseRequested();

private:
    void OnConnection();

    QString key_;
    QLocalServer* server_ = nullptr;
};

} // namespace vorn
