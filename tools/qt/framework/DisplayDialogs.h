// The dialogs that only show what their launcher filled in: the tags a
// document uses and the document's information.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

class QTreeWidget;

// "Tags used in document": memo1 holds one "<NAME>" per tag, in document order.
class Tfrm_tagsused : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_tagsused(QWidget* parent = nullptr);

    TFlatMemo* memo1;
};

// "Document Information": rows of a caption and a value under "Item" and "Data".
class Tfrm_docinfo : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_docinfo(QWidget* parent = nullptr);

    QTreeWidget* ListView1;
    void AddRow(const std::string& item, const std::string& data);
};
