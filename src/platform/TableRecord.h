#pragma once
// One stored row of a table.

#include <QVariant>

#include <cstdint>
#include <vector>

// Values by field position (lookup positions stay null); Id is the row's identity
// within its table, stable across reordering and filtering.
struct TRecord {
  std::uint64_t Id = 0;
  std::vector<QVariant> Values;
};
