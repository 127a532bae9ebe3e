// "Export to RTF": writes the document, coloured as HTML, to an RTF file in
// the chosen folder.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

#include <memory>

class TDirTree;
class ThkHTMLSyn;
class TmwCustomEdit;
class TmwRtfExport;

class Tfrm_rtfexport : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_rtfexport(QWidget* parent = nullptr);
    ~Tfrm_rtfexport() override;

    TDirTree* DirTree1;
    TFlatEdit* Edit1;
    TmwCustomEdit* memo1; // the launcher copies the document here
    std::unique_ptr<TmwRtfExport> mwRtfExport1;

private:
    // The target is the selected folder joined with the file name; without
    // a folder or a name nothing is written and the dialog stays open.
    void Export();

    std::unique_ptr<ThkHTMLSyn> html_;
};
