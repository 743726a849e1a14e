#include "WindowTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>

using WindowTest::Harness;

namespace {
const QDateTime fixedTime(QDate(2026, 12, 6), QTime(9, 5, 3));
}

class TestMainWindowLog : public QObject
{
    Q_OBJECT

private:
    static QPlainTextEdit *log(const Harness &h)
    {
        return h.child<QPlainTextEdit>("operationLogEdit");
    }

private Q_SLOTS:
    // Time stamp in front, the message as given: blanks and placeholders kept.
    void blankMessagesIgnored_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString();
        QTest::newRow("spaces") << QStringLiteral("   ");
        QTest::newRow("tabs and newlines") << QStringLiteral("\t\n \r\n");
    }

    void blankMessagesIgnored()
    {
        QFETCH(QString, message);
        Harness h(QString{});
        h.window->setClock([] { return fixedTime; });
        h.window->appendOperationLog(QStringLiteral("first"));
        h.window->appendOperationLog(message);
        QCOMPARE(log(h)->toPlainText(), QStringLiteral("[2026-12-06 09:05:03] first"));
    }

    void keepsLatest2000Lines()
    {
        Harness h(QString{});
        MainWindow &w = *h.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        int tick = 0;
        w.setClock([&tick] { return fixedTime.addSecs(tick++); });
        for (int i = 1; i <= 2005; ++i)
            w.appendOperationLog(QStringLiteral("line %1").arg(i));
        QTextDocument *document = log(h)->document();
        QCOMPARE(document->blockCount(), 2000);
        QCOMPARE(document->firstBlock().text(), QStringLiteral("[2026-12-06 09:05:08] line 6"));
        QCOMPARE(document->lastBlock().text(), QStringLiteral("[2026-12-06 09:38:27] line 2005"));
        QScrollBar *bar = log(h)->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
    }

    void copyAndClear()
    {
        Harness h(QString{});
        MainWindow &w = *h.window;
        w.setClock([] { return fixedTime; });
        w.appendOperationLog(QStringLiteral("a"));
        w.appendOperationLog(QStringLiteral("b"));
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));

        h.child<QPushButton>("copyOperationLogButton")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("[2026-12-06 09:05:03] a\n[2026-12-06 09:05:03] b"));
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("已复制操作日志到剪贴板"));

        h.child<QPushButton>("clearOperationLogButton")->click();
        QCOMPARE(log(h)->toPlainText(), QString());
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("已清空操作日志"));

        // An empty log is copied as an empty text.
        h.child<QPushButton>("copyOperationLogButton")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("已复制操作日志到剪贴板"));
        // The confirmation goes away by itself.
        QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(), QString(), 4000);
        QVERIFY(h.prompts->calls.isEmpty());
    }
};

QTEST_MAIN(TestMainWindowLog)
#include "tst_mainwindowlog.moc"
