#include "export/HtmlDropRateExport.h"

#include "data/CheckedFile.h"
#include "export/PageRowBuilder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace HtmlDropRateExport {

QString noticeTitle()
{
    return QCoreApplication::translate("Lootwright", "提示");
}

QString nothingLoadedText()
{
    return QCoreApplication::translate("Lootwright", "请先加载怪物掉落配置和包裹内容配置");
}

QString nothingToExportText()
{
    return QCoreApplication::translate("Lootwright", "未找到可导出的掉落数据");
}

QString failedTitle()
{
    return QCoreApplication::translate("Lootwright", "导出失败");
}

QString cannotWriteText()
{
    return QCoreApplication::translate("Lootwright", "无法写入文件：%1");
}

QString succeededTitle()
{
    return QCoreApplication::translate("Lootwright", "导出成功");
}

QString succeededText()
{
    return QCoreApplication::translate("Lootwright", "已导出爆率表到：\n%1");
}

namespace {

constexpr QStringView pageHead =
    u"<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n"
    u"<meta charset=\"utf-8\" />\n"
    u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n"
    u"<title>怪物掉落爆率表</title>\n"
    u"<style>\n"
    u"body{margin:0;font-family:\"Microsoft YaHei\",\"PingFang SC\",sans-serif;"
    u"background:radial-gradient(circle at top,#1b1f2a 0%,#0f1117 45%,#050607 100%);"
    u"color:#e8e2d0;}\n"
    u".header{padding:22px 28px;background:linear-gradient(135deg,rgba(200,160,60,.12),"
    u"rgba(120,20,20,.25));border-bottom:1px solid rgba(245,213,122,.35);} \n"
    u".header h1{margin:0;font-family:\"STKaiti\",\"KaiTi\",\"Microsoft YaHei\";"
    u"letter-spacing:4px;font-size:30px;color:#f5d57a;text-shadow:0 2px 8px rgba(0,0,0,.6);} \n"
    u".sub{margin-top:6px;font-size:12px;color:#b9b2a0;} \n"
    u".controls{display:flex;flex-wrap:wrap;gap:10px;padding:12px 18px;"
    u"background:rgba(8,9,12,.85);position:sticky;top:0;z-index:10;"
    u"border-bottom:1px solid rgba(255,255,255,.06);} \n"
    u".controls input{background:#0f1218;border:1px solid rgba(245,213,122,.35);color:#eee;"
    u"border-radius:6px;padding:8px 10px;min-width:160px;outline:none;} \n"
    u".controls input:focus{border-color:#f5d57a;box-shadow:0 0 0 2px rgba(245,213,122,.2);} \n"
    u".controls .btn{background:linear-gradient(180deg,#2a2f3a,#151821);"
    u"border:1px solid rgba(245,213,122,.4);color:#f5d57a;border-radius:6px;"
    u"padding:8px 14px;cursor:pointer;} \n"
    u".controls .btn:hover{filter:brightness(1.1);} \n"
    u"table{width:100%;border-collapse:collapse;font-size:13px;} \n"
    u"thead th{position:sticky;top:58px;background:rgba(15,18,24,.98);color:#f5d57a;"
    u"text-align:left;padding:10px;border-bottom:2px solid rgba(245,213,122,.55);} \n"
    u"tbody td{padding:8px 10px;border-bottom:1px solid rgba(255,255,255,.06);} \n"
    u"tbody tr:nth-child(even){background:rgba(255,255,255,.03);} \n"
    u"tbody tr:hover{background:rgba(245,213,122,.10);} \n"
    u".mono{font-family:Consolas,monospace;color:#c7d6ff;} .name{color:#efe7d6;} \n"
    u".items{max-width:720px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis;"
    u"color:#7ef07b;font-weight:600;} \n"
    u".rates{max-width:240px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis;"
    u"color:#9be7ff;font-weight:600;} \n"
    u".footer{padding:10px 18px;font-size:12px;color:#a9a394;} \n"
    u"</style>\n</head>\n<body>\n"
    u"<div class=\"header\"><h1>怪物掉落爆率表</h1>"
    u"<div class=\"sub\">导出时间：";

constexpr QStringView controlsAndTableHead =
    u"</div></div>\n"
    u"<div class=\"controls\">"
    u"<input id=\"monsterIdSearch\" placeholder=\"怪物ID搜索\" />"
    u"<input id=\"monsterNameSearch\" placeholder=\"怪物名称搜索\" />"
    u"<input id=\"itemSearch\" placeholder=\"物品ID/名称搜索\" />"
    u"<button class=\"btn\" id=\"resetBtn\">重置筛选</button>"
    u"<span class=\"sub\" id=\"countInfo\" style=\"margin-left:auto\"></span>"
    u"</div>\n"
    u"<table id=\"dropTable\"><thead><tr>"
    u"<th>怪物ID</th><th>怪物名称</th><th>掉落物品";

constexpr QStringView pageTail =
    u"</tbody></table>\n"
    u"<div class=\"footer\">提示：支持按物品/怪物搜索；鼠标悬浮在掉落物品上可查看完整列表。</div>\n"
    u"<script>\n"
    u"const mid=document.getElementById('monsterIdSearch');\n"
    u"const mname=document.getElementById('monsterNameSearch');\n"
    u"const item=document.getElementById('itemSearch');\n"
    u"const rows=[...document.querySelectorAll('#dropTable tbody tr')];\n"
    u"const countInfo=document.getElementById('countInfo');\n"
    u"function applyFilter(){\n"
    u"  const midv=mid.value.trim().toLowerCase();\n"
    u"  const mnamev=mname.value.trim().toLowerCase();\n"
    u"  const itemv=item.value.trim().toLowerCase();\n"
    u"  let visible=0;\n"
    u"  for(const r of rows){\n"
    u"    const okMid=!midv||r.dataset.monsterId.includes(midv);\n"
    u"    const okMname=!mnamev||r.dataset.monsterName.includes(mnamev);\n"
    u"    const okItem=!itemv||r.dataset.items.includes(itemv);\n"
    u"    const show=okMid&&okMname&&okItem;\n"
    u"    r.style.display=show?'':'none';\n"
    u"    if(show) visible++;\n"
    u"  }\n"
    u"  countInfo.textContent=`当前显示 ${visible} / ${rows.length} 条`;\n"
    u"}\n"
    u"mid.addEventListener('input',applyFilter);\n"
    u"mname.addEventListener('input',applyFilter);\n"
    u"item.addEventListener('input',applyFilter);\n"
    u"document.getElementById('resetBtn').addEventListener('click',()=>{mid.value='';"
    u"mname.value='';item.value='';applyFilter();});\n"
    u"applyFilter();\n"
    u"</script>\n"
    u"</body>\n</html>\n";

} // namespace

void appendEscapedHtml(QString &out, QStringView text)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QStringView entity;
        switch (text[i].unicode()) {
        case u'&':
            entity = u"&amp;";
            break;
        case u'<':
            entity = u"&lt;";
            break;
        case u'>':
            entity = u"&gt;";
            break;
        case u'"':
            entity = u"&quot;";
            break;
        case u'\'':
            entity = u"&#39;";
            break;
        default:
            continue;
        }
        out.append(text.mid(plainFrom, i - plainFrom));
        out.append(entity);
        plainFrom = i + 1;
    }
    out.append(text.mid(plainFrom));
}

QString escapeHtml(QStringView text)
{
    QString out;
    out.reserve(text.size());
    appendEscapedHtml(out, text);
    return out;
}

QString timestampText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString headText(int exportCount, double multiplier, bool showRates, const QString &timestamp)
{
    QString html;
    html += pageHead;
    html += timestamp;
    html += QStringLiteral(" ｜ 导出怪物数：");
    html += QString::number(exportCount);
    html += QStringLiteral(" ｜ 全局掉落倍数：x");
    html += QString::number(multiplier, 'f', 2);
    html += QStringLiteral(" ｜ 显示爆率：");
    html += showRates ? QStringLiteral("是") : QStringLiteral("否");
    html += controlsAndTableHead;
    if (showRates)
        html += QStringLiteral("（爆率）");
    html += QStringView(u"</th></tr></thead><tbody>\n");
    return html;
}

QStringView tailText()
{
    return pageTail;
}

namespace {

// Rows are handed on in pieces of about this size.
constexpr size_t pieceSize = size_t(1) << 20;

// UTF-8 with a byte-order mark into a checked file that replaces the target on commit.
class PageFileWriter
{
public:
    explicit PageFileWriter(const QString &path) : file(path) {}

    // The failure text: the path and why.
    QString error() const { return cannotWriteText().arg(file.failureText()); }

    bool open()
    {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        return file.write("\xEF\xBB\xBF", 3) == 3;
    }

    bool write(const char *bytes, size_t size)
    {
        return file.write(bytes, qint64(size)) == qint64(size);
    }

    // Encoded in slices so that no second copy of a long text is held.
    bool write(QStringView text)
    {
        constexpr qsizetype sliceSize = 1 << 16;
        if (bytes.isEmpty())
            bytes.resize(encoder.requiredSpace(sliceSize));
        for (qsizetype from = 0; from < text.size();) {
            qsizetype length = std::min(sliceSize, text.size() - from);
            // Never split a surrogate pair between two slices.
            if (from + length < text.size() && text[from + length - 1].isHighSurrogate())
                --length;
            char *end = encoder.appendToBuffer(bytes.data(), text.mid(from, length));
            if (!write(bytes.constData(), size_t(end - bytes.data())))
                return false;
            from += length;
        }
        return true;
    }

    bool commit() { return file.commit(); }

    // Off for bytes that carry their own line ends.
    void setTextMode(bool on) { file.setTextModeEnabled(on); }

private:
    CheckedFile file;
    QStringEncoder encoder{QStringEncoder::Utf8};
    QByteArray bytes;
};

// Builds the rows on a second thread while the caller writes the finished pieces. The builder
// is touched only by that thread until it has been joined; pieces change hands under the lock.
class RowPipeline
{
public:
    explicit RowPipeline(RowSource &builder) : builder(builder)
    {
        for (int i = 0; i < pieceCount; ++i)
            free.push_back(i);
        worker = std::thread([this] { run(); });
    }

    // Stops the builder at its next piece and waits for it, on every way out.
    ~RowPipeline()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        worker.join();
    }

    RowPipeline(const RowPipeline &) = delete;
    RowPipeline &operator=(const RowPipeline &) = delete;

    // The next piece of rows, valid until the next call; nullptr after the last.
    const ByteBuffer *next()
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (held >= 0) {
            free.push_back(held);
            held = -1;
            changed.notify_all();
        }
        changed.wait(lock, [this] { return !filled.empty() || finished; });
        if (filled.empty())
            return nullptr;
        held = filled.front();
        filled.pop_front();
        return &pieces[held];
    }

private:
    void run()
    {
        while (true) {
            int index;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [this] { return stopping || !free.empty(); });
                if (stopping)
                    return;
                index = free.back();
                free.pop_back();
            }
            ByteBuffer &piece = pieces[index];
            piece.clear();
            builder.appendRows(piece, pieceSize);
            const bool last = builder.atEnd();
            {
                std::lock_guard<std::mutex> lock(mutex);
                filled.push_back(index);
                finished = last;
            }
            changed.notify_all();
            if (last)
                return;
        }
    }

    // Enough pieces that the builder keeps going while a busy disk holds the writer back.
    static constexpr int pieceCount = 12;
    RowSource &builder;
    ByteBuffer pieces[pieceCount];
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<int> filled;
    std::vector<int> free;
    int held = -1;
    bool finished = false;
    bool stopping = false;
    std::thread worker;
};

} // namespace

bool writePage(const QString &path, const QString &html, QString &error)
{
    PageFileWriter writer(path);
    if (!writer.open() || !writer.write(html) || !writer.commit()) {
        error = writer.error();
        return false;
    }
    return true;
}

bool isUsableMultiplier(double multiplier)
{
    if (!std::isfinite(multiplier) || multiplier <= 0.0)
        return false;
    const double shown = QString::number(multiplier, 'f', 2).toDouble();
    // The largest rate: a monster value of magnitude 2^31 over a weight of 1, in percent.
    return std::abs(shown - multiplier) <= 1e-9 * multiplier &&
           std::isfinite(2147483648.0 * multiplier * 100.0);
}

QString withHtmlSuffix(const QString &fileName)
{
    if (fileName.isEmpty() || fileName.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QLatin1String(".html");
}

bool writeStreamed(const QString &path, QStringView head, RowSource &rows, QStringView tail,
                   bool textMode, QString &error)
{
    PageFileWriter writer(path);
    bool ok = writer.open();
    if (ok) {
        writer.setTextMode(textMode);
        ok = writer.write(head);
    }
    if (ok) {
        RowPipeline pipeline(rows);
        while (const ByteBuffer *piece = pipeline.next()) {
            if (!writer.write(piece->data(), piece->size())) {
                ok = false;
                break;
            }
        }
    }
    if (ok && writer.write(tail) && writer.commit())
        return true;
    error = writer.error();
    return false;
}

Outcome writtenOutcome(const QString &path, int exportCount, bool written, const QString &error)
{
    Outcome outcome;
    outcome.exportCount = exportCount;
    outcome.written = written;
    if (!written) {
        outcome.kind = Outcome::Critical;
        outcome.title = failedTitle();
        outcome.text = error;
        return outcome;
    }
    outcome.title = succeededTitle();
    outcome.text = succeededText().arg(path);
    return outcome;
}

bool hasDocuments(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    return !monsters.records.isEmpty() && !boxes.boxes.isEmpty();
}

Outcome exportToFile(const QString &path, const MonsterDropData &monsters,
                     const DropBoxContentData &boxes, const NameResolver &names, double multiplier,
                     bool showRates, const QDateTime &time)
{
    Outcome outcome;
    PageRowBuilder rows(monsters, boxes, names, multiplier, showRates);
    outcome.exportCount = rows.rowCount();
    if (outcome.exportCount == 0) {
        outcome.title = noticeTitle();
        outcome.text = nothingToExportText();
        return outcome;
    }
    // Never held whole: head, the rows as they are built, tail.
    QString error;
    const bool written = writeStreamed(
        path, headText(outcome.exportCount, multiplier, showRates, timestampText(time)), rows,
        tailText(), true, error);
    return writtenOutcome(path, outcome.exportCount, written, error);
}

} // namespace HtmlDropRateExport
