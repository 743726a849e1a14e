#pragma once

#include "data/DropConfig.h"

#include <QString>
#include <QStringView>

class NameResolver;
class QDateTime;

// The self-contained, searchable HTML page of every monster's drops and drop rates.
namespace HtmlDropRateExport {

// Message box texts of the export, in the interface language (the page itself stays Chinese).
QString noticeTitle();         // "提示"
QString nothingLoadedText();   // "请先加载怪物掉落配置和包裹内容配置"
QString nothingToExportText(); // "未找到可导出的掉落数据"
QString failedTitle();         // "导出失败"
QString cannotWriteText();     // "无法写入文件：%1"
QString succeededTitle();      // "导出成功"
QString succeededText();       // "已导出爆率表到：\n%1"

// "&", "<", ">", the double quote and the apostrophe as entities; safe in text and in
// double-quoted attributes.
QString escapeHtml(QStringView text);
void appendEscapedHtml(QString &out, QStringView text);

// The time stamp of the sub line, "yyyy-MM-dd HH:mm:ss".
QString timestampText(const QDateTime &time);

// The page's text before the first row and after the last; the rows between come from
// PageRowBuilder.
QString headText(int exportCount, double multiplier, bool showRates, const QString &timestamp);
QStringView tailText();

// Writes a text as UTF-8 with a byte-order mark, without a second copy of it. The target is
// replaced only when the whole text was written (CheckedFile); on failure it is left as it was
// and error holds cannotWriteText() with the path and the reason.
bool writePage(const QString &path, const QString &html, QString &error);

class RowSource;
// Writes head, then the rows as a second thread builds them, then tail, through the page's
// writer: UTF-8 with a byte-order mark into a temporary file that replaces the target only when
// every byte was written; otherwise error holds cannotWriteText() with the path and the reason.
// In text mode line feeds become the system's line ends, as for the page.
bool writeStreamed(const QString &path, QStringView head, RowSource &rows, QStringView tail,
                   bool textMode, QString &error);
// Whether the page can use the multiplier: above 0, shown as it is by the page's two decimals
// ("x1.25"), and small enough that every rate the drop files can hold stays a finite number.
bool isUsableMultiplier(double multiplier);

// The chosen file name with ".html" appended unless it already ends in it (any case).
QString withHtmlSuffix(const QString &fileName);

// Whether both documents hold records; otherwise the export shows nothingLoadedText().
bool hasDocuments(const MonsterDropData &monsters, const DropBoxContentData &boxes);

// Everything after the file dialog: build, write, and the message box to show. The page goes to
// the file in pieces as it is built (UTF-8 with a byte-order mark), so a large page is never held
// whole; the target is replaced only when all of it was written (CheckedFile). When no monster
// has an item nothing is written.
struct Outcome
{
    enum Kind
    {
        Information,
        Critical
    };
    Kind kind = Information;
    QString title;
    QString text;
    bool written = false;
    int exportCount = 0;
};

// The message box after writing `exportCount` rows to path: succeeded, or failed with error.
Outcome writtenOutcome(const QString &path, int exportCount, bool written, const QString &error);

Outcome exportToFile(const QString &path, const MonsterDropData &monsters,
                     const DropBoxContentData &boxes, const NameResolver &names, double multiplier,
                     bool showRates, const QDateTime &time);

} // namespace HtmlDropRateExport
