#pragma once

#include "export/HtmlDropRateExport.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// The drop rates as CSV for spreadsheets: one row per monster, box and item, in the order the
// HTML page lists them (the page's monsters, each box once in slot order, the box's distinct
// items by id). UTF-8 with a byte-order mark, CR LF line ends, fields quoted as RFC 4180 asks.
// A name starting with = + - @, a tab or a carriage return is led by an apostrophe, so that no
// spreadsheet reads it as a formula. "1/N" is written as N alone, which no spreadsheet takes for
// a date.
namespace CsvDropRateExport {

// The header cells; the last three (rate, N, kills for 90 %) only with rates.
QStringList headerCells(bool showRates);

// One field: the apostrophe first when guardFormula and the text starts like a formula, then
// quoted when it holds a comma, a double quote or a line break.
QString field(QStringView text, bool guardFormula);

// The chosen file name with ".csv" appended unless it already ends in it (any case).
QString withCsvSuffix(const QString &fileName);

// Builds and writes the file as the HTML export writes its page; the same outcome texts.
HtmlDropRateExport::Outcome exportToFile(const QString &path, const MonsterDropData &monsters,
                                         const DropBoxContentData &boxes, const NameResolver &names,
                                         double multiplier, bool showRates);

} // namespace CsvDropRateExport
