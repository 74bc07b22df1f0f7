// Data files that could not be read whole (broken off, damaged, or of a
// newer version). The program goes on with what could be read; before the
// first save over such a file the old file is kept beside it as
// "<name>.damaged" ("<name>.damaged2" and so on when that name is taken),
// and a report line names the copy, so that nothing the user had is lost.
#pragma once
#include <string>
#include <string_view>

void NoteDamagedFile(std::string_view cp932Path);
bool IsNotedDamaged(std::string_view cp932Path);

// For the savers, before a file is written: a noted file that still exists
// is copied aside and reported (then forgotten). False when it could not be
// kept; the save must then not go on.
bool KeepDamagedFileBeforeSave(std::string_view cp932Path);

// Tests: forget every note.
void ForgetDamagedFiles();
