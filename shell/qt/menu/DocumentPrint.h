// What both print commands share: one printer for the run, the font pages are
// printed in, and printing a text document after the print dialog.
#pragma once

class QFont;
class QPrinter;
class QTextDocument;
class QWidget;

namespace vx::shell {

// The printer both print commands use; its settings last for the run.
QPrinter& DocumentPrinter();
// A fixed-pitch font, whatever fonts the machine has.
QFont DocumentPrintFont();
// Asks for the printer and prints the document, in colour or in shades of
// grey; false when the user cancels the print dialog.
bool PrintThroughDialog(QWidget* parent, QTextDocument& document, bool inColor);

} // namespace vx::shell
