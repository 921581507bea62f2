// "quillory --print-pdf PRINTFILE PDFFILE": lays out an HTML file (a print
// file) as the program prints it, writes it as a PDF file and ends, with no
// window and no data file. quillory-tool's "print --pdf" runs it, so that
// the tool itself needs no browser.
#pragma once

inline constexpr char kPrintPdfSwitch[] = "--print-pdf";

// Whether the command line asks for it (the switch first).
bool IsPrintPdfCommand(int argc, char** argv);
// Runs it and returns the exit status: 0 written, 1 failed, 2 bad usage.
int RunPrintPdfCommand(int argc, char** argv);
