// One running program per data file title: the first start listens on a
// local socket named from the application title; a later start on the same
// title asks it to raise its main menu and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(const QString& applicationTitle, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is the first on the title and now listens;
    // false when another one runs, which has been asked to raise itself.
    // A socket left behind by a crashed process is replaced.
    bool Claim();

    // The socket path: the user's runtime folder and a hash of the title, so
    // any title (quotes, slashes, Chinese) gives a safe name.
    static QString ServerName(const QString& applicationTitle);

signals:
    // Another start on the same title wants this one in front.
    void raiseRequested();

private:
    bool AskRunningToRaise() const;
    void ReadRequests();

    QString name_;
    QLocalServer* server_ = nullptr;
};
