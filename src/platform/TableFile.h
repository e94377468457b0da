#pragma once
// The table file: one SQLite database holding the field definitions (with the display
// options worth keeping) and all rows. A save writes "<target>.tmp-XXXXXX" in the same
// folder and renames it over the target, so a crash never leaves a half-written table.

#include "platform/Field.h"
#include "platform/TableRecord.h"

#include <QString>

#include <memory>
#include <vector>

struct TTableContent {
  std::vector<TFieldDef> Fields;                // data fields, in file order
  std::vector<std::unique_ptr<TRecord>> Rows;  // Values by position in Fields; Id left 0
};

// Reads and checks a whole table file; anything but a sound table throws EDatabaseError.
TTableContent ReadTableFile(const QString &path);

// One stored column: its definition and where its value sits in a record.
struct TTableColumn {
  const TFieldDef *Def = nullptr;
  int ValueIndex = 0;
};

// Writes every row; throws EDatabaseError and leaves an existing target untouched on failure.
void WriteTableFile(const QString &path, const std::vector<TTableColumn> &columns,
                    const std::vector<std::unique_ptr<TRecord>> &rows);
