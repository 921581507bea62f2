// The real program in separate processes: one per data file.
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>

#include "app_test_main.h"
#include "core/store/data_file.h"
#include "shell/single_instance.h"
#include "support/temp_dir.h"

namespace {

constexpr int kStartTimeoutMs = 60000;

QString ProgramPath() {
    return QCoreApplication::applicationDirPath() + "/quillory";
}

// Started with a web engine switch before the data file, as a launcher may.
void Start(QProcess& process, const QString& dataFile) {
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(ProgramPath(), {QStringLiteral("--no-sandbox"), dataFile});
}

// Ends a program still running; its socket is left behind as after a crash.
void Stop(QProcess& process, const QString& title) {
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(kStartTimeoutMs);
    }
    QLocalServer::removeServer(CSingleInstance::ServerName(title));
}

}  // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void secondStartOnTheSameDataFileEndsAtOnce();
};

void ProgramTest::secondStartOnTheSameDataFileEndsAtOnce() {
    quillory::testing::TempDir folder;
    const QString work = QString::fromStdString(folder.File("work.qly"));
    const QString other = QString::fromStdString(folder.File("other.qly"));
    const QString workTitle = QStringLiteral("穹岚 - work");
    const QString otherTitle = QStringLiteral("穹岚 - other");
    QLocalServer::removeServer(CSingleInstance::ServerName(workTitle));
    QLocalServer::removeServer(CSingleInstance::ServerName(otherTitle));
    for (const QString& file : {work, other}) {
        QVERIFY(
            quillory::CreateFromTemplate(quillory::testing::ProgramFolder(), file.toStdString()));
    }

    QProcess first;
    Start(first, work);
    QVERIFY(first.waitForStarted(kStartTimeoutMs));
    // It listens once it has opened its data file.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(CSingleInstance::ServerName(workTitle)),
                             kStartTimeoutMs);

    QProcess second;
    Start(second, work);
    QVERIFY(second.waitForFinished(kStartTimeoutMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    QProcess third;
    Start(third, other);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(CSingleInstance::ServerName(otherTitle)),
                             kStartTimeoutMs);
    QCOMPARE(third.state(), QProcess::Running);

    Stop(third, otherTitle);
    Stop(first, workTitle);
}

QUILLORY_APP_TEST_MAIN(ProgramTest)
#include "program_test.moc"
