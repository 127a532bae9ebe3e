// Printing a document through the system's print dialog.
#include "shell/qt/menu/DocumentPrint.h"

#include <QFont>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace vx::shell {

QPrinter& DocumentPrinter()
{
    static QPrinter printer;
    return printer;
}

QFont DocumentPrintFont()
{
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(11);
    return font;
}

bool PrintThroughDialog(QWidget* parent, QTextDocument& document, bool inColor)
{
    QPrinter& printer = DocumentPrinter();
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printer.setDocName("--");
    printer.setColorMode(inColor ? QPrinter::Color : QPrinter::GrayScale);
    document.print(&printer);
    return true;
}

} // namespace vx::shell
