// The display dialogs.
#include "tools/qt/framework/DisplayDialogs.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "platform/qt/QtText.h"

#include <QTreeWidget>
#include <QVBoxLayout>

Tfrm_tagsused::Tfrm_tagsused(QWidget* parent) : GeneratorDialog("frm_tagsused", "Tags used in document", parent)
{
    memo1 = new TFlatMemo(this);
    memo1->setObjectName("memo1");
    memo1->SetReadOnly(true);
    memo1->SetScrollBars(TScrollStyle::ssVertical);
    Client()->insertWidget(0, memo1, 1);
    AddCloseButton("SpeedButton1", "&Ok");
    Loaded();
}

Tfrm_docinfo::Tfrm_docinfo(QWidget* parent) : GeneratorDialog("frm_docinfo", "Document Information", parent)
{
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setHeaderLabels({"Item", "Data"});
    ListView1->setColumnWidth(0, 160);
    Client()->insertWidget(0, ListView1, 1);
    AddCloseButton("SpeedButton1", "&Close");
    resize(480, 300);
    Loaded();
}

void Tfrm_docinfo::AddRow(const std::string& item, const std::string& data)
{
    auto* row = new QTreeWidgetItem(ListView1);
    row->setText(0, vx::ToQString(item));
    row->setText(1, vx::ToQString(data));
}
