// The colour print dialog.
#include "shell/qt/windows/ColorPrint.h"

#include "editor/Colors.h"
#include "editor/qt/mwCustomEdit.h"
#include "editor/qt/mwTextDocumentExport.h"
#include "highlighters/hkHTMLSyn.h"
#include "shell/qt/menu/DocumentPrint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

Tfrm_print::Tfrm_print(QWidget* parent)
    : TShellDialog("frm_print", "Print document in color", parent), hkHTMLSyn1_(std::make_unique<ThkHTMLSyn>())
{
    auto* outer = new QHBoxLayout(this);
    Image1 = Named(new QLabel(this), "Image1");
    outer->addWidget(Image1);
    auto* column = new QVBoxLayout;
    Label1 = Named(new QLabel("This will print the current selected", this), "Label1");
    Label2 = Named(new QLabel("document to a color printer", this), "Label2");
    memo1 = Named(new TmwCustomEdit(this), "memo1");
    memo1->hide();
    memo1->SetFont(vx::shell::DocumentPrintFont());
    memo1->Model().SelectedColor().SetBackground(clNavy);
    memo1->Model().SelectedColor().SetForeground(clWhite);
    auto* buttons = new QHBoxLayout;
    Button1 = AddButton("Button1", "Print");
    Button1->setToolTip("Prints document in color (if color printer is attached)");
    Button2 = AddButton("Button2", "Cancel");
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    column->addWidget(Label1);
    column->addWidget(Label2);
    column->addWidget(memo1);
    column->addLayout(buttons);
    outer->addLayout(column, 1);
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    Loaded();
}

Tfrm_print::~Tfrm_print()
{
    memo1->Model().SetHighLighter(nullptr);
}

void Tfrm_print::FormActivate()
{
    ShowSidePicture(*Image1);
    move(20, 20);
}

void Tfrm_print::Button1Click()
{
    TmwCustomEditModel& model = memo1->Model();
    // The highlighter first: a new highlighter rescans the lines, which
    // drops a selection.
    model.SetHighLighter(hkHTMLSyn1_.get());
    model.SelectAll();
    QTextDocument document;
    document.setDefaultFont(vx::shell::DocumentPrintFont());
    TmwTextDocumentExport exporter(document);
    // Nothing to print: an empty document needs no printer.
    if (!exporter.ExportSelection(hkHTMLSyn1_.get(), &model)) {
        accept();
        return;
    }
    if (vx::shell::PrintThroughDialog(this, document, true))
        accept();
}
