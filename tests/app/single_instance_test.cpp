// One running program per data file title.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <QSignalSpy>
#include <cstring>

#include "app_test_main.h"
#include "shell/single_instance.h"

namespace {

// Leaves a socket file behind with nobody listening, as a crashed program
// does.
bool MakeStaleSocket(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(name.size()) >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return bound;
}

QString UniqueTitle(const char* name) {
    return QStringLiteral("穹岚 - %1-%2")
        .arg(QString::fromUtf8(name))
        .arg(QCoreApplication::applicationPid());
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void secondStartOnTheSameTitleAsksTheFirstToRaise();
    void differentTitlesRunSideBySide();
    void staleSocketDoesNotBlockStartUp();
    void titleIsFreeAgainWhenTheFirstEnds();
    void anyTitleGivesASafeName();
};

void SingleInstanceTest::secondStartOnTheSameTitleAsksTheFirstToRaise() {
    const QString title = UniqueTitle("work");
    CSingleInstance first(title);
    QSignalSpy raised(&first, &CSingleInstance::raiseRequested);
    QVERIFY(first.Claim());

    CSingleInstance second(title);
    QVERIFY(!second.Claim());
    QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 10000);

    CSingleInstance third(title);
    QVERIFY(!third.Claim());
    QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 2, 10000);
}

void SingleInstanceTest::differentTitlesRunSideBySide() {
    CSingleInstance work(UniqueTitle("work"));
    CSingleInstance other(UniqueTitle("other"));
    QSignalSpy raised(&work, &CSingleInstance::raiseRequested);
    QVERIFY(work.Claim());
    QVERIFY(other.Claim());
    QCoreApplication::processEvents();
    QCOMPARE(raised.count(), 0);
}

void SingleInstanceTest::staleSocketDoesNotBlockStartUp() {
    const QString title = UniqueTitle("crashed");
    const QString path = CSingleInstance::ServerName(title);
    QFile::remove(path);
    QVERIFY(MakeStaleSocket(path));
    QVERIFY(QFileInfo::exists(path));

    CSingleInstance restarted(title);
    QSignalSpy raised(&restarted, &CSingleInstance::raiseRequested);
    QVERIFY(restarted.Claim());
    // And it really listens now.
    CSingleInstance second(title);
    QVERIFY(!second.Claim());
    QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 10000);
}

void SingleInstanceTest::titleIsFreeAgainWhenTheFirstEnds() {
    const QString title = UniqueTitle("again");
    {
        CSingleInstance first(title);
        QVERIFY(first.Claim());
    }
    QVERIFY(!QFileInfo::exists(CSingleInstance::ServerName(title)));
    CSingleInstance next(title);
    QVERIFY(next.Claim());
}

void SingleInstanceTest::anyTitleGivesASafeName() {
    const QString plain = CSingleInstance::ServerName(QStringLiteral("穹岚 - work"));
    const QString odd = CSingleInstance::ServerName(QStringLiteral("穹岚 - a/../b \"c\" 'd'"));
    const QString empty = CSingleInstance::ServerName(QStringLiteral("穹岚 - "));
    for (const QString& name : {plain, odd, empty}) {
        const QString file = QFileInfo(name).fileName();
        QVERIFY2(QRegularExpression(QStringLiteral("^quillory-[0-9a-f]+$")).match(file).hasMatch(),
                 qPrintable(name));
        QCOMPARE(QFileInfo(name).absolutePath(),
                 QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    }
    QVERIFY(plain != odd && plain != empty && odd != empty);
}

QUILLORY_APP_TEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
