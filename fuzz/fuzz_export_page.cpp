// The export page on fuzzed documents and names: the input holds a monster drop file, a box
// content file, a monster table and an item table, separated by lines of "=====". The page
// stays well formed (every row in its fixed shape, every name and item text escaped, nothing
// outside the rows depends on the names), the name cell gives back the monster's name, and the
// streamed export writes the same bytes as the page built whole.
#include "ExportReference.h"
#include "FuzzSupport.h"
#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"
#include "export/HtmlDropRateExport.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>

namespace {

using namespace HtmlDropRateExport;
using ExportReference::buildPage;
using ExportReference::Page;

// Text that can stand in an element or a double-quoted attribute: no markup characters, and
// every ampersand starts one of the five entities the escaping writes.
bool isEscaped(QStringView text)
{
    static const QRegularExpression markup(QStringLiteral("[<>\"']|&(?!amp;|lt;|gt;|quot;|#39;)"));
    return !markup.match(text).hasMatch();
}

QString unescaped(QString text)
{
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&#39;"), QLatin1String("'"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

QList<QByteArray> parts(const QByteArray &input)
{
    QList<QByteArray> list;
    qsizetype from = 0;
    while (list.size() < 3) {
        const qsizetype at = input.indexOf("\n=====\n", from);
        if (at < 0)
            break;
        list.append(input.mid(from, at + 1 - from));
        from = at + 7;
    }
    list.append(input.mid(from));
    while (list.size() < 4)
        list.append(QByteArray());
    return list;
}

template <class Parser, class Document> Document read(const Parser &parser, QByteArray bytes)
{
    Document document;
    FuzzSupport::readDocument(parser, bytes, true, document);
    return document;
}

void checkRows(const QString &rows, const Page &page, const MonsterDropData &monsters,
               const NameResolver &names)
{
    static const QRegularExpression row(QStringLiteral(
        "^<tr data-monster-id=\"(-?\\d+)\" data-monster-name=\"([^\"]*)\" data-items=\"([^\"]*)\">"
        "<td class=\"mono\">\\1</td><td class=\"name\">([^<]*)</td>"
        "<td class=\"items\" title=\"([^\"]*)\">\\5</td>$"));
    std::map<int, QString> fallback;
    for (const MonsterDropConfig &record : monsters.records)
        fallback.emplace(record.monsterId, record.displayName);
    int count = 0;
    for (const QString &line : rows.split(QLatin1String("</tr>\n"), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = row.match(line);
        if (!match.hasMatch())
            FuzzSupport::fail("a row is out of shape", line.toUtf8());
        for (int group = 2; group <= 5; ++group) {
            if (!isEscaped(match.capturedView(group)))
                FuzzSupport::fail("a row holds unescaped text", line.toUtf8());
        }
        const int id = match.capturedView(1).toInt();
        QString name = names.monsterName(id);
        if (name.isEmpty())
            name = fallback[id];
        if (unescaped(match.captured(4)) != name ||
            match.captured(2) != match.captured(4).toLower())
            FuzzSupport::fail("a name cell does not give the monster's name", line.toUtf8(),
                              name.toUtf8());
        ++count;
    }
    if (count != page.exportCount)
        FuzzSupport::fail("the row count differs from the export count");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::silenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> input = parts(FuzzSupport::bytesOf(data, size));
    MonsterDropData monsters =
        read<MonsterDropParser, MonsterDropData>(MonsterDropParser(20), input.at(0));
    const DropBoxContentData boxes =
        read<DropBoxContentParser, DropBoxContentData>(DropBoxContentParser(100), input.at(1));
    NameResolver &names = NameResolver::instance();
    names.clear();
    QByteArray monsterTable = input.at(2), itemTable = input.at(3);
    QBuffer monsterDevice(&monsterTable), itemDevice(&itemTable);
    monsterDevice.open(QIODevice::ReadOnly);
    itemDevice.open(QIODevice::ReadOnly);
    QString error;
    names.loadMonsterTable(monsterDevice, error);
    names.loadItemTable(itemDevice, 0, 6, names.commonItemNames, error);
    // The record's own name, used where the monster table has none, is fuzzed as well.
    for (MonsterDropConfig &record : monsters.records)
        record.displayName = names.itemName(record.monsterId);

    const QDateTime time(QDate(2026, 12, 6), QTime(8, 30));
    for (const bool showRates : {true, false}) {
        const Page page = buildPage(monsters, boxes, names, 1.0, showRates, timestampText(time));
        if (page.exportCount == 0)
            return 0;
        const QString &html = page.html;
        const QLatin1String open("</tr></thead><tbody>\n"), close("</tbody></table>\n");
        const qsizetype rowsFrom = html.indexOf(open) + open.size();
        const qsizetype rowsTo = html.lastIndexOf(close);
        if (rowsFrom < open.size() || rowsTo < rowsFrom)
            FuzzSupport::fail("the page has no table body", html.toUtf8());
        checkRows(html.sliced(rowsFrom, rowsTo - rowsFrom), page, monsters, names);

        // Around the rows only the export count may change.
        static QString frame[2];
        QString around = html.first(rowsFrom) + html.sliced(rowsTo);
        around.replace(QStringLiteral("导出怪物数：%1 ").arg(page.exportCount),
                       QStringLiteral("导出怪物数：N "));
        if (frame[showRates].isEmpty())
            frame[showRates] = around;
        else if (around != frame[showRates])
            FuzzSupport::fail("the page around the rows changed", around.toUtf8(),
                              frame[showRates].toUtf8());

        static QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.html"));
        const Outcome outcome = exportToFile(path, monsters, boxes, names, 1.0, showRates, time);
        QFile file(path);
        if (!outcome.written || !file.open(QIODevice::ReadOnly) ||
            file.readAll() != "\xef\xbb\xbf" + html.toUtf8())
            FuzzSupport::fail("the streamed export differs from the page built whole");
    }
    return 0;
}
