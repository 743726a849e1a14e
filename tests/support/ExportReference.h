#pragma once

// The export page built whole in one string: what the streamed export
// (HtmlDropRateExport::exportToFile) is held against in the tests and the fuzz target.

#include "data/DropConfig.h"

#include <QString>

class NameResolver;

namespace ExportReference {

struct Page
{
    QString html;        // empty when exportCount is 0
    int exportCount = 0; // monsters with a row
};

// Head, every row, tail; no html when no monster has an item.
Page buildPage(const MonsterDropData &monsters, const DropBoxContentData &boxes,
               const NameResolver &names, double multiplier, bool showRates,
               const QString &timestamp);

} // namespace ExportReference
