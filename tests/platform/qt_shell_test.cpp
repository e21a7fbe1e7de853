// Starting a program: its arguments arrive as the very bytes given, text or not.
#include "platform/qt/qt_shell.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class QtShellTest : public QObject {
    Q_OBJECT

private slots:
    void argumentsArriveByteForByte_data();
    void argumentsArriveByteForByte();
    void missingProgramFails();
};

void QtShellTest::argumentsArriveByteForByte_data() {
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::newRow("words") << QByteArrayList{"run", "event", "terminate"};
    QTest::newRow("blanks and an empty one") << QByteArrayList{"a b", "", "  c"};
    QTest::newRow("no UTF-8 text") << QByteArrayList{"caf\xe9", "\xff\xfe", "run"};
    QTest::newRow("quotes and a dollar") << QByteArrayList{"\"x\"", "'y'", "$HOME"};
}

void QtShellTest::argumentsArriveByteForByte() {
    QFETCH(QByteArrayList, arguments);
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("arguments"));
    // The started shell writes each argument it got, each ended by a NUL, then renames the file
    // into place so that it is seen whole.
    std::vector<std::string> args{"-c",
                                  "for a; do printf '%s\\0' \"$a\"; done > \"$0.part\" && mv "
                                  "\"$0.part\" \"$0\"",
                                  out.toStdString()};
    QByteArray expected;
    for (const QByteArray& argument : arguments) {
        args.push_back(argument.toStdString());
        expected += argument + '\0';
    }
    platform::QtShell shell;
    QVERIFY(shell.StartProcess("/bin/sh", args));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 10000);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
}

void QtShellTest::missingProgramFails() {
    platform::QtShell shell;
    QVERIFY(!shell.StartProcess("/nonexistent/zorvane", {"run"}));
}

QTEST_GUILESS_MAIN(QtShellTest)
#include "qt_shell_test.moc"
