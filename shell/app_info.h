#pragma once

// The program's title and version as its windows show them.

#include <QString>

inline const QString kApplicationTitle = QStringLiteral("ZR4470 Evaluation Software");

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;
