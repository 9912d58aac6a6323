#include <sys/stat.h>

#include <QtTest>

// Starts the real program. with-temp-home.sh gives this test its own XDG_RUNTIME_DIR, so the
// lock file is private to it.
class SecondInstanceTest : public QObject {
    Q_OBJECT
  private:
    static QString Program() { return QStringLiteral(PYX_BINARY_DIR "/src/app/pyxidane"); }

    static QString LockFile() {
        return qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/Pyxidane.lock");
    }

    // True while some process holds an flock on the lock file, read from /proc/locks so that
    // looking never takes the lock itself.
    static bool LockHeld() {
        struct stat st {};
        if (::stat(QFile::encodeName(LockFile()).constData(), &st) != 0)
            return false;
        QFile locks(QStringLiteral("/proc/locks"));
        if (!locks.open(QIODevice::ReadOnly))
            return false;
        const QByteArray inode = ':' + QByteArray::number(static_cast<qulonglong>(st.st_ino)) + ' ';
        for (const QByteArray& line : locks.readAll().split('\n')) {
            if (line.contains("FLOCK") && line.contains(inode))
                return true;
        }
        return false;
    }

    static void Start(QProcess& process) {
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(Program(), {});
        QVERIFY(process.waitForStarted());
    }

  private slots:
    void secondInstanceExitsWithOne() {
        QProcess first;
        Start(first);
        QTRY_VERIFY_WITH_TIMEOUT(LockHeld(), 10000);

        QProcess second;
        Start(second);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(first.state(), QProcess::Running);

        // A killed instance leaves its lock file behind but not its lock.
        first.kill();
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFile::exists(LockFile()));
        QVERIFY(!LockHeld());

        QProcess third;
        Start(third);
        QTRY_VERIFY_WITH_TIMEOUT(LockHeld(), 10000);
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        QVERIFY(third.waitForFinished(10000));
    }
};

QTEST_MAIN(SecondInstanceTest)
#include "second_instance_test.moc"
