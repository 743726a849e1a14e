#include "ExportReference.h"

#include "export/HtmlDropRateExport.h"
#include "export/PageRowBuilder.h"

namespace ExportReference {

using HtmlDropRateExport::ByteBuffer;
using HtmlDropRateExport::PageRowBuilder;

Page buildPage(const MonsterDropData &monsters, const DropBoxContentData &boxes,
               const NameResolver &names, double multiplier, bool showRates,
               const QString &timestamp)
{
    Page page;
    PageRowBuilder rows(monsters, boxes, names, multiplier, showRates);
    page.exportCount = rows.rowCount();
    if (page.exportCount == 0)
        return page;
    page.html = HtmlDropRateExport::headText(page.exportCount, multiplier, showRates, timestamp);
    ByteBuffer piece;
    while (!rows.atEnd()) {
        piece.clear();
        rows.appendRows(piece, size_t(1) << 20);
        page.html += QString::fromUtf8(piece.data(), qsizetype(piece.size()));
    }
    page.html += HtmlDropRateExport::tailText();
    return page;
}

} // namespace ExportReference
