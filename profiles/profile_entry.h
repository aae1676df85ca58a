#pragma once

// How the text of a profile value box reads against its field's limits. Text that slips past the key
// filters (pasted, or typed blanks) is sorted here before any conversion: a negative number counts as below
// the field's range and a number too large for its type as above it, so that every field clips or resets
// it as it does any other value out of range.

#include <QString>
#include <cstdint>

namespace profiles {

struct FieldEntry {
    enum Kind { NotANumber, Below, InRange, Above };
    Kind kind = NotANumber;
    double value = 0.0; // the number read (meaningful for InRange)
};

// A value: below `low` is Below, above `high` is Above (at or above it when `highExclusive`).
FieldEntry readValueEntry(const QString& text, double low, double high, bool highExclusive = false);

// A whole number as the count and address boxes take it: fractions round to the nearest integer, ties to
// even, before the limits are checked.
struct WordEntry {
    FieldEntry::Kind kind = FieldEntry::NotANumber;
    int64_t value = 0; // meaningful for InRange
};
WordEntry readWordEntry(const QString& text, int64_t low, int64_t high);

} // namespace profiles
