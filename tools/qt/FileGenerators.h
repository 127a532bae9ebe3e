// The generators that pick a file: the include directive and the background sound.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

class TFileChooser;
class TWave;

// "Include file wizard": the directive goes to the clipboard on "&Apply".
class Tfrm_incwizard : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_incwizard(QWidget* parent = nullptr);

    TFileChooser* Files;
    TRadioGroup* RadioGroup1; // "File", "Virtual"
    QLabel* Note;             // why only a file name is written, when it is
    // The document the directive goes into (empty when unnamed) and the web
    // site's root folder (empty when unknown); the list starts in the document's folder.
    void SetDocument(const std::string& document, const std::string& siteRoot);

private:
    std::string document_;
    std::string siteRoot_;
};

// "Sound wizard": "Check sound" plays the selected file.
class Tfrm_sound : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_sound(QWidget* parent = nullptr);

    TFileChooser* Files;
    TWave* Wave1;
};
