#include "TestSupport.h"
#include "gui/WindowTestSupport.h"

#include "rates/KillSimulation.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using TestSupport::readBytes;
using WindowTest::Harness;

// lootwright-cli run as a pipeline runs it, against the window on the same documents.
class CliTest : public QObject
{
    Q_OBJECT

private:
    struct Result
    {
        int exitCode = -1;
        QStringList out;
        QStringList err;
    };

    static Result runCli(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(LOOTWRIGHT_CLI), arguments);
        Result result;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = process.exitCode();
        const auto lines = [](const QByteArray &bytes) {
            QStringList list = QString::fromUtf8(bytes).split(u'\n');
            if (!list.isEmpty() && list.last().isEmpty())
                list.removeLast();
            return list;
        };
        result.out = lines(process.readAllStandardOutput());
        result.err = lines(process.readAllStandardError());
        return result;
    }

    static QString cliFixture(const QString &name)
    {
        return QStringLiteral(LOOTWRIGHT_TEST_DATA "/cli/") + name;
    }

private Q_SLOTS:
    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out");      // whole output; one "*" line: any
        QTest::addColumn<QString>("errFirstLine"); // empty: no message

        const QString window = WindowTest::fixturePath(QStringLiteral("config"));
        const QString clean = cliFixture(QStringLiteral("clean"));
        const QString broken = cliFixture(QStringLiteral("broken"));
        const QStringList any{QStringLiteral("*")};

        QTest::newRow("no command")
            << QStringList{} << 2 << QStringList{} << "用法: lootwright-cli <命令> [参数]";
        QTest::newRow("help") << QStringList{"--help"} << 0 << any << "";
        for (const char *command : {"check", "export", "where", "simulate", "normalize", "diff"})
            QTest::addRow("%s --help", command)
                << QStringList{QString::fromLatin1(command), "--help"} << 0 << any << "";
        QTest::newRow("unknown command")
            << QStringList{"frobnicate"} << 2 << QStringList{} << "未知命令：frobnicate";
        QTest::newRow("missing argument")
            << QStringList{"check"} << 2 << QStringList{} << "缺少参数：CONFIGDIR";
        QTest::newRow("extra argument")
            << QStringList{"check", clean, "more"} << 2 << QStringList{} << "多余的参数：more";
        QTest::newRow("unknown option")
            << QStringList{"check", clean, "--bogus"} << 2 << QStringList{} << "未知选项：--bogus";
        QTest::newRow("flag given a value") << QStringList{"check", clean, "--json=yes"} << 2
                                            << QStringList{} << "未知选项：--json=yes";
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << QStringList{"lootwright-cli " LOOTWRIGHT_VERSION} << "";
        QTest::newRow("no such directory")
            << QStringList{"check", "/nonexistent/config"} << 2 << QStringList{}
            << "配置目录不存在：/nonexistent/config";
        QTest::newRow("unreadable drop file")
            << QStringList{"check", broken} << 2 << QStringList{}
            << broken + "/MonsterDropBoxs.txt: 第 3 行解析失败：字段数量不足";
        QTest::newRow("clean check") << QStringList{"check", clean} << 0 << QStringList{} << "";
        QTest::newRow("findings")
            << QStringList{"check", window} << 1
            << QStringList{"missing-box\t怪物[1002:骷髅兵] 的第 4 个掉落槽位引用了不存在的包裹[9]",
                           "unrated-box\t包裹[7] 的权值为 0（小于 1），被 2 "
                           "个怪物引用，爆率无法计算",
                           "unknown-monster\t怪物ID 2001 "
                           "有掉落记录，但怪物表中没有该怪物（怪物列表中不显示）"}
            << "";
        QTest::newRow("where")
            << QStringList{"where", "5001", window} << 0
            << QStringList{"# 物品 5001 回城卷轴：2 个包裹，3 个来源",
                           "怪物ID\t怪物名称\t槽位\t怪物价值\t包裹ID\t包裹权值\t"
                           "爆率\t1/N\t50%需击杀\t90%需击杀\t99%需击杀\t"
                           "100次击杀概率",
                           "1001\t史莱姆\t1\t200\t3\t1000\t20.00%\t1/5\t4\t11\t21\t100.00%",
                           "2001\t\t1\t100\t3\t1000\t10.00%\t1/10\t7\t22\t44\t100.00%",
                           "1002\t骷髅兵\t2\t500\t8\t2500\t20.00%\t1/5\t4\t11\t21\t100.00%",
                           "1001\t史莱姆\t合计\t200\t3\t—\t20.00%\t1/5\t4\t11\t21\t100.00%",
                           "1002\t骷髅兵\t合计\t500\t8\t—\t20.00%\t1/5\t4\t11\t21\t100.00%",
                           "2001\t\t合计\t100\t3\t—\t10.00%\t1/10\t7\t22\t44\t100.00%"}
            << "";
        QTest::newRow("where, bad id") << QStringList{"where", "0", window} << 2 << QStringList{}
                                       << "物品ID无效：0（应为 1 或更大的整数）";
        QTest::newRow("simulate, bad seed")
            << QStringList{"simulate", "1001", window, "--seed", "-1"} << 2 << QStringList{}
            << "种子无效：-1（应为 0 到 18446744073709551615 的整数）";
        QTest::newRow("simulate, no drop record") << QStringList{"simulate", "1003", window} << 2
                                                  << QStringList{} << "怪物ID 1003 没有掉落记录";
        for (const char *multiplier : {"0", "1e308"})
            QTest::addRow("export, multiplier %s", multiplier)
                << QStringList{"export", window, "/nonexistent/x.html", "--multiplier",
                               QString::fromLatin1(multiplier)}
                << 2 << QStringList{}
                << QStringLiteral("掉落倍数无效：%1（应为大于 0、最多两位小数且爆率不溢出的数）")
                       .arg(QString::fromLatin1(multiplier));
        QTest::newRow("export, option without value")
            << QStringList{"export", window, "/nonexistent/x.html", "--multiplier"} << 2
            << QStringList{} << "选项 --multiplier 缺少值";
        QTest::newRow("export, bad time")
            << QStringList{"export", window, "/nonexistent/x.html", "--time=2024-13-01 00:00:00"}
            << 2 << QStringList{}
            << "时间无效：2024-13-01 00:00:00（格式应为 yyyy-MM-dd HH:mm:ss）";
        const QString changed = cliFixture(QStringLiteral("changed"));
        QTest::newRow("diff")
            << QStringList{"diff", window, changed} << 1
            << QStringList{"monster-value\t怪物[1001:史莱姆] 怪物价值：200 → 250",
                           "monster-added\t怪物[1003:火焰魔] 新增掉落记录：怪物价值 100，掉落类型 "
                           "队伍掉落，包裹 8",
                           "monster-removed\t怪物[2001] 删除掉落记录：怪物价值 100，掉落类型 "
                           "个人掉落，包裹 3",
                           "box-item-removed\t包裹[3] 删除物品[5002:金创药]",
                           "box-weight\t包裹[8] 权值：2500 → 2000",
                           "rate-changed\t怪物[1001:史莱姆] 物品[5001:回城卷轴]：20.00%（1/5） → "
                           "25.00%（1/4）",
                           "rate-removed\t怪物[1001:史莱姆] 物品[5002:金创药]：20.00%（1/5） → "
                           "不掉落",
                           "rate-changed\t怪物[1002:骷髅兵] 物品[5001:回城卷轴]：20.00%（1/5） → "
                           "25.00%（1/4）",
                           "rate-changed\t怪物[1002:骷髅兵] 物品[6001]：20.00%（1/5） + N/A → "
                           "25.00%（1/4） + N/A",
                           "rate-changed\t怪物[1002:骷髅兵] 物品[7001]：20.00%（1/5） → "
                           "25.00%（1/4）",
                           "rate-added\t怪物[1003:火焰魔] 物品[5001:回城卷轴]：不掉落 → "
                           "5.00%（1/20）",
                           "rate-added\t怪物[1003:火焰魔] 物品[6001]：不掉落 → 5.00%（1/20）",
                           "rate-added\t怪物[1003:火焰魔] 物品[7001]：不掉落 → 5.00%（1/20）",
                           "rate-removed\t怪物[2001] 物品[5001:回城卷轴]：10.00%（1/10） → 不掉落",
                           "rate-removed\t怪物[2001] 物品[5002:金创药]：10.00%（1/10） → 不掉落"}
            << "";
        QTest::newRow("diff, nothing differs")
            << QStringList{"diff", window, window, "--rates-only"} << 0 << QStringList{} << "";
        QTest::newRow("diff, unreadable")
            << QStringList{"diff", window, broken} << 2 << QStringList{}
            << broken + "/MonsterDropBoxs.txt: 第 3 行解析失败：字段数量不足";
        QTest::newRow("diff, missing argument")
            << QStringList{"diff", window} << 2 << QStringList{} << "缺少参数：NEWDIR";
        QTest::newRow("export, unwritable target")
            << QStringList{"export", window, "/nonexistent/x.html"} << 2 << QStringList{}
            << "无法写入文件：/nonexistent/x.html（No such file or directory）";
    }

    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QString, errFirstLine);
        const Result result = runCli(arguments);
        QCOMPARE(result.exitCode, exitCode);
        if (out == QStringList{QStringLiteral("*")})
            QVERIFY(!result.out.isEmpty() && result.out.first().startsWith(QStringLiteral("用法")));
        else
            QCOMPARE(result.out, out);
        QCOMPARE(result.err.value(0), errFirstLine);
    }

    void jsonOutput()
    {
        const QString window = WindowTest::fixturePath(QStringLiteral("config"));
        QProcess process;
        process.start(QStringLiteral(LOOTWRIGHT_CLI), {"check", window, "--json"});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        const QJsonArray findings =
            QJsonDocument::fromJson(process.readAllStandardOutput()).array();
        QCOMPARE(findings.size(), 3);
        QCOMPARE(findings.at(0)["kind"].toString(), QStringLiteral("missing-box"));
        QCOMPARE(findings.at(0)["monsterId"].toInt(), 1002);
        QCOMPARE(findings.at(0)["boxId"].toInt(), 9);
        QCOMPARE(findings.at(0)["slot"].toInt(), 4);

        process.start(QStringLiteral(LOOTWRIGHT_CLI), {"where", "6001", window, "--json"});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        const QJsonArray sources = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
        QStringList rows;
        for (const QJsonValue &source : sources)
            rows << QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                        .arg(source["monsterId"].toInt())
                        .arg(source["combined"].toBool() // a total: minus its box count
                                 ? -source["boxIds"].toArray().size()
                                 : source["boxId"].toInt())
                        .arg(source["rate"].toString(), source["oneIn"].toString(),
                             source["chance100"].toString())
                        .arg(source["chancePerKill"].toDouble())
                        .arg(source["kills90"].isNull() ? -1 : source["kills90"].toInt());
        QCOMPARE(rows, (QStringList{"1001|7|N/A|—|—|0|-1", "1002|7|N/A|—|—|0|-1",
                                    "1002|8|20.00%|1/5|100.00%|0.2|11", "1001|-1|N/A|—|—|0|-1",
                                    "1002|-2|20.00%|1/5|100.00%|0.2|11"}));
    }

    // The command line's numbers are the core's for the same seed.
    void simulateEqualsCore()
    {
        Harness h;
        // What the load settles beside the files is said first, as by every other command.
        const QString journal = QDir(h.configDir).filePath(".lootwright-save.journal");
        QVERIFY(TestSupport::writeBytes(journal, "not a journal"));
        const Result result = runCli({"simulate", "1001", h.configDir, "--seed", "42", "--kills",
                                      "500", "--players", "300", "--item", "5002", "--json"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err.value(0), "已删除无法读取的保存日志：" + journal);
        const QJsonObject shown = QJsonDocument::fromJson(result.out.join(u'\n').toUtf8()).object();
        QCOMPARE(shown["seed"].toString(), QStringLiteral("42"));

        const MonsterDropConfig &record = h.window->monsterDocument().records.first();
        QCOMPARE(record.monsterId, 1001);
        const KillSimulation simulation(record, h.window->boxDocument(), 1.0);
        const KillSimulation::Counts counts = simulation.run(500, 42);
        QStringList expected;
        QStringList actual;
        for (qsizetype r = 0; r < counts.drops.size(); ++r) {
            expected << QString::number(counts.drops.at(r));
            actual << shown["boxes"][r]["模拟次数"].toString();
        }
        for (qsizetype i = 0; i < counts.copies.size(); ++i) {
            expected << QString::number(counts.copies.at(i));
            actual << shown["items"][i]["模拟数量"].toString();
        }
        QCOMPARE(actual, expected);
        QCOMPARE(shown["firstDrop"]["meanKills"].toDouble(),
                 simulation.firstDrops(5002, 300, 42).meanKills);
    }

    void diffJson_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("records and rates")
            << QStringList{"--json"} << QStringList{"rates", "records"};
        QTest::newRow("rates only")
            << QStringList{"--json", "--rates-only"} << QStringList{"rates"};
    }

    void diffJson()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, keys);
        QProcess process;
        process.start(QStringLiteral(LOOTWRIGHT_CLI),
                      QStringList{"diff", WindowTest::fixturePath(QStringLiteral("config")),
                                  cliFixture(QStringLiteral("changed"))} +
                          options);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        const QJsonObject diff = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QCOMPARE(diff.keys(), keys);
        if (keys.contains(QStringLiteral("records"))) {
            const QJsonObject value = diff["records"].toArray().at(0).toObject();
            QCOMPARE(value["kind"].toString(), QStringLiteral("monster-value"));
            QCOMPARE(value["monsterId"].toInt(), 1001);
            QCOMPARE(value["before"].toInt(), 200);
            QCOMPARE(value["after"].toInt(), 250);
        }
        const QJsonArray rates = diff["rates"].toArray();
        QCOMPARE(rates.size(), 10);
        const QJsonObject twoBoxes = rates.at(3).toObject();
        QCOMPARE(twoBoxes["itemId"].toInt(), 6001);
        QCOMPARE(twoBoxes["before"]["oneIn"].toString(), QStringLiteral("1/5 + —"));
        QCOMPARE(twoBoxes["after"]["sources"].toArray().at(1)["boxId"].toInt(), 7);
        QVERIFY(rates.at(5)["before"].isNull());
        QCOMPARE(rates.at(5)["after"]["rate"].toString(), QStringLiteral("5.00%"));
    }

    void exportEqualsWindowPage_data()
    {
        QTest::addColumn<bool>("rates");
        QTest::addColumn<double>("multiplier");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("rates") << true << 1.0 << ".html";
        QTest::newRow("no rates") << false << 1.0 << ".html";
        QTest::newRow("doubled") << true << 2.0 << ".html";
        QTest::newRow("csv, doubled") << true << 2.0 << ".csv";
        QTest::newRow("csv, no rates") << false << 1.0 << ".csv";
    }

    void exportEqualsWindowPage()
    {
        QFETCH(bool, rates);
        QFETCH(double, multiplier);
        QFETCH(QString, suffix);
        Harness h;
        const QDateTime time(QDate(2026, 12, 6), QTime(10, 20, 30));
        h.window->setClock([time] { return time; });
        h.window->onDropMultiplierChanged(multiplier);
        h.prompts->chooseAnswers = {rates ? 0 : 1};
        const QString windowPage = h.temp.filePath(QStringLiteral("window") + suffix);
        // The file menu's action; the dialog's name gets its suffix.
        h.prompts->saveFileAnswers = {windowPage.chopped(suffix.size())};
        h.window
            ->findChild<QAction *>(suffix == QStringLiteral(".csv")
                                       ? QStringLiteral("actionExportCsv")
                                       : QStringLiteral("actionExportHtml"))
            ->trigger();

        const QString cliPage = h.temp.filePath(QStringLiteral("cli") + suffix);
        QStringList arguments{"export",
                              h.configDir,
                              cliPage,
                              "--time",
                              "2026-12-06 10:20:30",
                              "--multiplier",
                              QString::number(multiplier)};
        if (!rates)
            arguments << QStringLiteral("--no-rates");
        const Result result = runCli(arguments);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, (QStringList{"已导出爆率表到：", cliPage}));
        const QByteArray expected = readBytes(windowPage);
        QVERIFY(expected.size() > 300);
        QCOMPARE(readBytes(cliPage), expected);
    }

    void normalizeEqualsWindowSave()
    {
        Harness h;
        h.window->onSave();
        const QString names[] = {QStringLiteral("MonsterDropBoxs.txt"),
                                 QStringLiteral("DropBoxContent.txt")};

        const QString copy = h.temp.filePath(QStringLiteral("copy"));
        QVERIFY(WindowTest::copyDirectory(WindowTest::fixturePath(QStringLiteral("config")), copy));
        const Result result = runCli({"normalize", copy});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out.size(), 4);
        const QDir backups(QDir(copy).filePath(QStringLiteral("backup")));
        QCOMPARE(backups.entryList(QDir::Files).size(), 2);
        for (const QString &name : names) {
            const QByteArray original =
                readBytes(WindowTest::fixturePath(QStringLiteral("config/") + name));
            const QByteArray saved = readBytes(QDir(h.configDir).filePath(name));
            // The fixture is not in the editor's format, so an untouched file would fail here.
            QVERIFY(saved != original);
            QCOMPARE(readBytes(QDir(copy).filePath(name)), saved);
            const QStringList kept =
                backups.entryList({name.chopped(4) + QStringLiteral(".*.txt")}, QDir::Files);
            QCOMPARE(kept.size(), 1);
            QCOMPARE(readBytes(backups.filePath(kept.first())), original);
        }
    }

    void nothingWrittenOnFailure()
    {
        QTemporaryDir temp;
        const QString dir = temp.filePath(QStringLiteral("broken"));
        QVERIFY(WindowTest::copyDirectory(cliFixture(QStringLiteral("broken")), dir));
        const QByteArray boxes =
            readBytes(QDir(dir).filePath(QStringLiteral("DropBoxContent.txt")));
        const QByteArray monsters =
            readBytes(QDir(dir).filePath(QStringLiteral("MonsterDropBoxs.txt")));

        QCOMPARE(runCli({"normalize", dir}).exitCode, 2);
        const QString page = temp.filePath(QStringLiteral("page.html"));
        QCOMPARE(runCli({"export", dir, page}).exitCode, 2);
        QCOMPARE(readBytes(QDir(dir).filePath(QStringLiteral("DropBoxContent.txt"))), boxes);
        QCOMPARE(readBytes(QDir(dir).filePath(QStringLiteral("MonsterDropBoxs.txt"))), monsters);
        QVERIFY(!QFile::exists(page));
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 2);

        // A backup that cannot be made stops the rewrite: a file stands where the folder goes.
        const QString clean = temp.filePath(QStringLiteral("clean"));
        QVERIFY(WindowTest::copyDirectory(cliFixture(QStringLiteral("clean")), clean));
        QFile blocker(QDir(clean).filePath(QStringLiteral("backup")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString monsterPath = QDir(clean).filePath(QStringLiteral("MonsterDropBoxs.txt"));
        const QByteArray before = readBytes(monsterPath);
        QCOMPARE(runCli({"normalize", clean}).exitCode, 2);
        QCOMPARE(readBytes(monsterPath), before);
    }
};

QTEST_MAIN(CliTest)
#include "tst_cli.moc"
