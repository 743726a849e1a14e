#pragma once

// A small made-up configuration whose exported page the golden file and the browser test share.

#include "data/DropConfig.h"

#include "data/NameResolver.h"

namespace ExportSample {

QString timestamp();

// Fills the documents and the name tables (after clearing them).
void fill(MonsterDropData &monsters, DropBoxContentData &boxes, NameResolver &names);

} // namespace ExportSample
