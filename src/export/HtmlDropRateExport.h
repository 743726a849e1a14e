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

struct Page
{
    QString html;        // empty when exportCount is 0
    int exportCount = 0; // monsters with a row
};

// "&", "<", ">", the double quote and the apostrophe as entities; safe in text and in
// double-quoted attributes.
QString escapeHtml(QStringView text);
void appendEscapedHtml(QString &out, QStringView text);

// The time stamp of the sub line, "yyyy-MM-dd HH:mm:ss".
QString timestampText(const QDateTime &time);

// Builds the page. Reads the name tables, changes nothing. When no monster has an item the
// result has exportCount 0 and no html.
Page buildPage(const MonsterDropData &monsters, const DropBoxContentData &boxes,
               const NameResolver &names, double multiplier, bool showRates,
               const QString &timestamp);

// Writes the page as UTF-8 with a byte-order mark. The target is replaced only when the whole
// page was written; on failure it is left as it was and error holds "无法写入文件：<path>".
bool writePage(const QString &path, const QString &html, QString &error);

// The chosen file name with ".html" appended unless it already ends in it (any case).
QString withHtmlSuffix(const QString &fileName);

// Whether both documents hold records; otherwise the export shows nothingLoadedText().
bool hasDocuments(const MonsterDropData &monsters, const DropBoxContentData &boxes);

// Everything after the file dialog: build, write, and the message box to show. Writes the same
// bytes as writePage(buildPage(...)) but hands the text to the file in pieces as it is built, so a
// large page is never held whole; the target is replaced only when all of it was written.
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

Outcome exportToFile(const QString &path, const MonsterDropData &monsters,
                     const DropBoxContentData &boxes, const NameResolver &names, double multiplier,
                     bool showRates, const QDateTime &time);

} // namespace HtmlDropRateExport
