#pragma once

// The files the chip's simulator reads: the register-map file (31 lines, registers 0x00-0x1E in address
// order, each the register's "0"/"1" string, most significant bit first, CR LF after each, nothing else)
// and the short parameter file "SimParmFile.txt" ("RegMapFile.txt" and the system clock in Hz).

#include <QByteArray>
#include <QString>
#include <optional>

// Writes the register-map file at `path` with the values of the written map (useSoftwareValues true) or
// read back from the chip (false; needs a connected board, else "Evaluation board not connected!").
// The file is replaced only when every value was had whole (the register's width of "0" and "1"): a
// failed chip read, an incomplete value or a failed write leaves any old file as it was, says so and gives
// false. The progress bar runs 0-29 with "Writing Regmap File" meanwhile.
bool ebWriteRegMapFile(const QString& path, bool useSoftwareValues);

// The register-map file's content as ebWriteRegMapFile writes it to `path`, without writing it (for a
// caller that writes it together with other files); nothing, after the same messages, where that one
// would write nothing.
std::optional<QByteArray> regMapFileText(const QString& path, bool useSoftwareValues);

// Writes "SimParmFile.txt" in the current folder: "RegMapFile.txt" and the Control window's system clock
// (MHz) times 1000000, formatted "0.000" with "." whatever the locale (a program reads the file). A clock
// text that is not a number is refused with a message and writes nothing. True when the file was written.
bool ebWriteSimParmFile();

// The second line of the parameter file for a system clock text in MHz (the user's number format), or
// nothing when the text is not a number.
std::optional<QString> simParmClockHz(const QString& sysClockMHzText);
