#include "WindowTestSupport.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using WindowTest::Harness;
using Kind = ScriptedPrompts::Kind;

class MainWindowExportTest : public QObject
{
    Q_OBJECT

private:
    static QString readPage(const QString &path, QByteArray *head = nullptr)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        const QByteArray bytes = file.readAll();
        if (head)
            *head = bytes.left(3);
        return QString::fromUtf8(bytes.mid(3));
    }

    static void clickExport(Harness &h)
    {
        h.prompts->reset();
        h.child<QPushButton>(QStringLiteral("exportConfigButton"))->click();
    }

private Q_SLOTS:
    void nothingLoaded()
    {
        Harness h(QString{});
        clickExport(h);
        QCOMPARE(
            h.prompts->transcript(),
            QStringList{QStringLiteral("information|提示|请先加载怪物掉落配置和包裹内容配置")});
    }

    void cancelled_data()
    {
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("expectedCalls");
        QTest::newRow("escape closes the question") << QList<int>{} << QStringList{} << 1;
        QTest::newRow("cancel button") << QList<int>{2} << QStringList{} << 1;
        QTest::newRow("no file chosen") << QList<int>{0} << QStringList{QString()} << 2;
    }

    void cancelled()
    {
        QFETCH(QList<int>, choices);
        QFETCH(QStringList, files);
        QFETCH(int, expectedCalls);
        Harness h;
        h.prompts->chooseAnswers = choices;
        h.prompts->saveFileAnswers = files;
        clickExport(h);
        QCOMPARE(h.prompts->calls.size(), expectedCalls);
        const ScriptedPrompts::Call &question = h.prompts->calls.first();
        QCOMPARE(question.kind, Kind::Choose);
        QCOMPARE(question.title, QStringLiteral("导出爆率表"));
        QCOMPARE(question.text, QStringLiteral("导出HTML是否显示爆率列？"));
        QCOMPARE(question.extra,
                 (QStringList{QStringLiteral("显示爆率"), QStringLiteral("不显示爆率"),
                              QStringLiteral("取消")}));
        if (expectedCalls == 2) {
            QCOMPARE(h.prompts->calls.at(1).kind, Kind::SaveFileName);
            QCOMPARE(h.prompts->calls.at(1).title, QStringLiteral("导出爆率表到HTML"));
            QCOMPARE(h.prompts->calls.at(1).text, QString());
            QCOMPARE(h.prompts->calls.at(1).extra,
                     QStringList{QStringLiteral("HTML 文件 (*.html)")});
        }
        QVERIFY(QDir(h.temp.path()).entryList(QStringList{QStringLiteral("*.html")}).isEmpty());
    }

    // The answer to the question decides the rate column; the suffix is added.
    void exported_data()
    {
        QTest::addColumn<int>("choice");
        QTest::newRow("with rates") << 0;
        QTest::newRow("without rates") << 1;
    }

    void exported()
    {
        QFETCH(int, choice);
        Harness h;
        h.window->setClock([] { return QDateTime(QDate(2026, 12, 6), QTime(10, 20, 30)); });
        h.prompts->chooseAnswers = {choice};
        h.prompts->saveFileAnswers = {h.temp.filePath(QStringLiteral("drops"))};
        clickExport(h);
        const QString path = h.temp.filePath(QStringLiteral("drops.html"));
        QCOMPARE(h.prompts->transcript().last(),
                 QStringLiteral("information|导出成功|已导出爆率表到：\n%1").arg(path));
        QByteArray head;
        const QString page = readPage(path, &head);
        QCOMPARE(head, QByteArray("\xEF\xBB\xBF"));
        QVERIFY(page.contains(QStringLiteral("2026-12-06 10:20:30")));
        QCOMPARE(page.contains(QStringLiteral("掉落物品（爆率）")), choice == 0);
        // The export changes nothing and logs nothing.
        QVERIFY(
            h.child<QPlainTextEdit>(QStringLiteral("operationLogEdit"))->toPlainText().isEmpty());
    }

    void multiplierReachesThePage()
    {
        Harness h;
        h.window->onDropMultiplierChanged(2.0);
        h.prompts->chooseAnswers = {0};
        const QString path = h.temp.filePath(QStringLiteral("doubled.html"));
        h.prompts->saveFileAnswers = {path};
        clickExport(h);
        const QString page = readPage(path);
        QVERIFY(page.contains(QStringLiteral("全局掉落倍数：x2.00")));
    }

    void failedWrite()
    {
        Harness h;
        h.prompts->chooseAnswers = {0};
        const QString path = h.temp.filePath(QStringLiteral("missing/dir/page.html"));
        h.prompts->saveFileAnswers = {path};
        clickExport(h);
        const ScriptedPrompts::Call *last = h.prompts->last();
        QVERIFY(last);
        QCOMPARE(last->kind, Kind::Critical);
        QCOMPARE(last->title, QStringLiteral("导出失败"));
        QVERIFY(last->text.startsWith(QStringLiteral("无法写入文件：%1（").arg(path)));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(h.prompts->count(Kind::Information), 0);
    }

    void menuActionExports()
    {
        Harness h;
        QAction *action = h.window->findChild<QAction *>(QStringLiteral("actionExportHtml"));
        QVERIFY(action && action->isEnabled());
        h.prompts->chooseAnswers = {1};
        h.prompts->saveFileAnswers = {h.temp.filePath(QStringLiteral("menu"))};
        action->trigger();
        QVERIFY(QFile::exists(h.temp.filePath(QStringLiteral("menu.html"))));
    }
};

QTEST_MAIN(MainWindowExportTest)
#include "tst_mainwindowexport.moc"
