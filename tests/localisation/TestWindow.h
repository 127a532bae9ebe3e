// A window with one of each kind of translatable object, shared by the
// translation and language-tool tests.
#pragma once

#include <QWidget>

#include <memory>
#include <string>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class TKMLang;
class TkLangFileEdit;

namespace vx::test {

class TestWindow : public QWidget {
public:
    // objectName "Form1" unless given; the TKMLang keeps "Form1" as OwnerName.
    explicit TestWindow(const QString& name = "Form1");

    TKMLang* Lang;
    QPushButton* Button1;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QPlainTextEdit* Memo1;
    QTreeWidget* ListView1;
    QAction* Save1;
    QGroupBox* GroupBox1;
    QPushButton* Button2; // inside GroupBox1
    QLineEdit* Edit1;
};

std::unique_ptr<QWidget> MakeTestWindow();

// Writes the native language file of the one window made by make into folder,
// as the language tool does, and reads it into file.
void CollectNativeFile(const char* name, std::unique_ptr<QWidget> (*make)(), const std::string& folder,
                       TkLangFileEdit& file);

} // namespace vx::test
