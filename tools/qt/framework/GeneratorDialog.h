// The shape every generator and display dialog shares: the side picture, the
// input fields on one form or on Next/Back pages, the hidden result memo
// Memo1, the generate and cancel buttons, translation, and the placement on
// activation. A dialog only builds its result; the launcher that opened it
// takes the result out (see shell/launch).
#pragma once

#include <QDialog>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class QFormLayout;
class QFrame;
class QHBoxLayout;
class QLabel;
class QSpinBox;
class QTabWidget;
class QVBoxLayout;
class TFlatCheckBox;
class TFlatComboBox;
class TFlatEdit;
class TFlatMemo;
class TFlatSpeedButton;
class TKMLang;
class TRadioGroup;

namespace vx::tools {

using TLines = std::vector<std::string>;

// Where the dialog stands and what it does each time it becomes active.
struct TDialogFrame {
    int Left = 20;
    int Top = 20;
    // Copy the shared artwork into Image1; false keeps what the dialog drew there.
    bool SidePicture = true;
    // Empty Memo1 so that closing by the window frame leaves nothing to insert.
    bool ClearOnActivate = true;
    // The result also goes to the clipboard on generate (the launcher pastes it).
    bool ToClipboard = false;
};

class GeneratorDialog : public QDialog {
public:
    // name is the dialog's component name ("frm_meta"); the class name goes to
    // the translation as the window's section.
    GeneratorDialog(const char* name, const std::string& caption, QWidget* parent, TDialogFrame frame = {});
    ~GeneratorDialog() override;

    QFrame* Panel1;
    QLabel* Image1;
    TFlatMemo* Memo1;
    TKMLang* KMLang1;
    // Present once the first page was added.
    QTabWidget* PageControl1 = nullptr;

    // Memo1's lines, first to last.
    TLines ResultLines() const;

    // --- building the window; page null means the dialog's one form.
    TFlatEdit* AddEdit(const char* name, const std::string& label, const std::string& text = {},
                       QWidget* page = nullptr);
    TFlatComboBox* AddCombo(const char* name, const std::string& label, std::initializer_list<const char*> items,
                            QWidget* page = nullptr);
    TFlatCheckBox* AddCheck(const char* name, const std::string& caption, bool checked = false,
                            QWidget* page = nullptr);
    QSpinBox* AddSpin(const char* name, const std::string& label, int min, int max, int value,
                      QWidget* page = nullptr);
    TRadioGroup* AddRadioGroup(const char* name, const std::string& caption,
                               std::initializer_list<const char*> items, int index = -1, QWidget* page = nullptr);
    // Any other control, under an optional label.
    void AddRow(const std::string& label, QWidget* field, QWidget* page = nullptr);
    QWidget* AddPage(const char* name, const std::string& caption);
    // "Next" and "Back" on a page select the following and the previous page.
    TFlatSpeedButton* AddNextButton(QWidget* page, const char* name = "Next", const std::string& caption = "Next");
    TFlatSpeedButton* AddBackButton(QWidget* page, const char* name = "Back", const std::string& caption = "Back");
    // Any other button of a page (a wizard's "Finish", a field's "...").
    TFlatSpeedButton* AddPageButton(QWidget* page, const char* name, const std::string& caption,
                                    std::function<void()> command);
    // Empties Memo1, fills it with what build gives, and closes as accepted.
    TFlatSpeedButton* AddGenerateButton(const char* name, const std::string& caption, std::function<TLines()> build);
    // Closes as cancelled; clears Memo1 first when clears is set.
    TFlatSpeedButton* AddCancelButton(const char* name, const std::string& caption, bool clears = true);
    // A button of the button row that runs a command and leaves the dialog open.
    TFlatSpeedButton* AddCommandButton(const char* name, const std::string& caption, std::function<void()> command);
    // The one button of a display dialog: closes as accepted.
    TFlatSpeedButton* AddCloseButton(const char* name, const std::string& caption);
    // The client area beside the picture, for dialogs that lay out more than fields.
    QVBoxLayout* Client() const { return client_; }

protected:
    // Escape is the cancel button: a cancel that empties the result empties it here too.
    void reject() override;
    // Ends building: the language component translates the window.
    void Loaded();
    // Default selections, run after the common activation steps.
    virtual void Activated() {}
    bool event(QEvent* e) override;

private:
    bool cancelClears_ = false;
    QFormLayout* FormOf(QWidget* page);
    TFlatSpeedButton* AddButton(const char* name, const std::string& caption, QWidget* parent);
    void Activate();

    TDialogFrame frame_;
    QVBoxLayout* client_;
    QFormLayout* form_ = nullptr;
    QHBoxLayout* buttons_;
};

} // namespace vx::tools
