#include "EditFixtures.h"
#include "TestSupport.h"

#include "data/NameResolver.h"
#include "export/CsvDropRateExport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {

// RFC 4180 read strictly: CR LF after every record, a quoted field doubles its quotes and is
// followed by a comma or the record's end, an unquoted field holds no quote, CR or LF.
std::optional<QList<QStringList>> readCsv(const QByteArray &bytes)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return std::nullopt;
    const QString text = QString::fromUtf8(bytes.mid(3));
    QList<QStringList> records;
    QStringList record;
    qsizetype i = 0;
    while (i < text.size()) {
        QString value;
        if (text[i] == u'"') {
            for (++i;; ++i) {
                if (i >= text.size())
                    return std::nullopt;
                if (text[i] == u'"') {
                    if (i + 1 < text.size() && text[i + 1] == u'"') {
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                }
                value += text[i];
            }
        } else {
            while (i < text.size() && text[i] != u',' && text[i] != u'\r') {
                if (text[i] == u'"' || text[i] == u'\n')
                    return std::nullopt;
                value += text[i++];
            }
        }
        record << value;
        if (text.mid(i, 2) == QStringLiteral("\r\n")) {
            records << record;
            record.clear();
            i += 2;
        } else if (i < text.size() && text[i] == u',') {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return record.isEmpty() ? std::optional(records) : std::nullopt;
}

} // namespace

class CsvExportTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsBackAsRows_data();
    void readsBackAsRows();
};

void CsvExportTest::readsBackAsRows_data()
{
    QTest::addColumn<bool>("showRates");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<QStringList>("rates"); // rate|N|kills for 90 %, per box of the rows

    QTest::newRow("rates") << true << 1.0 << QStringList{"20.00%|5|11", "N/A|—|—", "25.00%|4|9"};
    QTest::newRow("doubled") << true << 2.0 << QStringList{"40.00%|3|5", "N/A|—|—", "50.00%|2|4"};
    QTest::newRow("no rates") << false << 1.0 << QStringList{};
}

void CsvExportTest::readsBackAsRows()
{
    QFETCH(bool, showRates);
    QFETCH(double, multiplier);
    QFETCH(QStringList, rates);
    using namespace EditFixtures;
    NameResolver &names = NameResolver::instance();
    names.clear();
    names.monsterNames = {{1001, QStringLiteral("怪,物")}};
    names.commonItemNames = {{5001, QStringLiteral("他说\"好\"")},
                             {5002, QStringLiteral("第一行\n第二行")},
                             {5003, QStringLiteral("=SUM(A1)")},
                             {5004, QStringLiteral("+1")},
                             {5005, QStringLiteral("-2")}};
    MonsterDropConfig unnamed = padded(monster(1002, 100, {5, 9}));
    unnamed.displayName = QStringLiteral("@cmd");
    // Box 3 twice and item 5001 twice in it: listed once, as on the page.
    const MonsterDropData monsterDoc =
        monsters({padded(monster(1001, 200, {3, 4, 3})), unnamed, padded(monster(1003, 50, {}))});
    const DropBoxContentData boxDoc =
        boxes({padded(box(3, 1000, {5001, 5002, 5001, 5003})), padded(box(4, 0, {5004})),
               padded(box(5, 400, {5006, 5005}))});

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("drops.csv"));
    const HtmlDropRateExport::Outcome outcome =
        CsvDropRateExport::exportToFile(path, monsterDoc, boxDoc, names, multiplier, showRates);
    QVERIFY(outcome.written);
    QCOMPARE(outcome.exportCount, 2);

    const QStringList first{"1001", "怪,物", "200", "0"};
    const QStringList second{"1002", "'@cmd", "100", "0"};
    QList<QStringList> expected{CsvDropRateExport::headerCells(showRates),
                                first + QStringList{"3", "1000", "5001", "他说\"好\""},
                                first + QStringList{"3", "1000", "5002", "第一行\n第二行"},
                                first + QStringList{"3", "1000", "5003", "'=SUM(A1)"},
                                first + QStringList{"4", "0", "5004", "'+1"},
                                second + QStringList{"5", "400", "5005", "'-2"},
                                second + QStringList{"5", "400", "5006", "5006"}};
    const int boxOfRow[] = {0, 0, 0, 1, 2, 2};
    for (int row = 0; showRates && row < 6; ++row)
        expected[row + 1] << rates.at(boxOfRow[row]).split(u'|');
    const std::optional<QList<QStringList>> read = readCsv(TestSupport::readBytes(path));
    QVERIFY(read);
    QCOMPARE(*read, expected);

    const QString nowhere = dir.filePath(QStringLiteral("missing/drops.csv"));
    QCOMPARE(CsvDropRateExport::exportToFile(nowhere, monsterDoc, boxDoc, names, 1.0, true).kind,
             HtmlDropRateExport::Outcome::Critical);
}

QTEST_APPLESS_MAIN(CsvExportTest)
#include "tst_csvexport.moc"
