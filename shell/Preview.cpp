// The browser preview's window.
#include "shell/Preview.h"

#include "controls/flat/TFlatComboBoxUnit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

Tfrm_preview* frm_preview = nullptr;

Tfrm_preview::Tfrm_preview(QWidget* parent) : TShellDialog("frm_preview", "", parent)
{
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    int n = 1;
    for (const char* hint : {"Page Backward", "Page forward", "Quit browsing", "Refresh page", "Stop Browsing"}) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString("ToolButton%1").arg(n++));
        button->setToolTip(hint);
        bar->addWidget(button);
    }
    bar->addWidget(new QLabel("Resolution ->", this));
    ComboBox1 = new TFlatComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setToolTip("Change viewing resolution (browser resize)");
    ComboBox1->Items().Assign(MakeList({"640*480", "800*600", "1024*768"}));
    bar->addWidget(ComboBox1);
    bar->addStretch();
    PreviewHTML1 = new QWidget(this);
    PreviewHTML1->setObjectName("PreviewHTML1");
    PreviewHTML1->setMinimumSize(200, 200);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    layout->addLayout(bar);
    layout->addWidget(PreviewHTML1, 1);
    layout->addWidget(StatusBar1);
    Loaded();
}
