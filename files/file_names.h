// SPDX-License-Identifier: Apache-2.0
#pragma once
// The names of the files the program writes: the one rule for a report's
// suffix, and names suggested from what the user typed.

#include <string>

namespace valdris {

inline const std::string kReportSuffix = ".pdf";

// True when the name ends in the suffix (".pdf"), in any case, after at
// least one other character.
bool HasFileSuffix(const std::string& path, const std::string& suffix);

// The name as given when it ends in the suffix, else with the suffix added:
// what the user typed in a save dialog, as the file is written.
std::string WithFileSuffix(const std::string& path, const std::string& suffix);

// What a save dialog's answer becomes: the name as the file is written
// (the suffix added when left out), and whether the user must still be asked
// before it replaces what is there. The dialog asked only about the name it
// returned; when the suffix was added, something under the new name was
// never asked about.
struct NameToSave {
    std::string path;
    bool ask_to_replace = false;
};
NameToSave NameToSaveAs(const std::string& chosen, const std::string& suffix);

// A report is a PDF: the name as given when it ends in .pdf, else with .pdf
// added. The window adds it; the companion refuses a name that lacks it.
std::string ReportFileName(const std::string& path);

// A text (the radionuclide) as the start of a suggested file name: every
// character that cannot stand in a file name on common systems (path
// separators, \ : * ? " < > |, control characters) becomes a blank, runs of
// blanks become one, and no leading dot hides the file. Empty: the fallback.
std::string FileNameStem(const std::string& text, const std::string& fallback);

}  // namespace valdris
