// What the dialogs of every subsystem may ask of the main window: the focused
// editor, insertion into it, opening a file into a document slot, a message
// in the assistant window and the artwork every generator dialog shows. The main window implements it and registers itself,
// so dialogs reach it without linking the shell.
#pragma once

#include <cstdint>
#include <string>

class QLabel;
class TmwCustomEdit;

namespace vx::shell {

class IMainWindow {
public:
    // The editor that takes insertions and commands now; null when none.
    virtual TmwCustomEdit* ActiveEditor() const = 0;
    // Mode 0 replaces the selection, mode 1 appends a new last line.
    virtual void insert_item(const std::string& text, std::uint8_t mode) = 0;
    // Wraps the selection: text is an opening part and a closing part of back characters.
    virtual void insert_item_2(const std::string& text, std::uint16_t back) = 0;
    virtual void OpenDocumentInFreeSlot(const std::string& fileName, bool readOnly) = 0;
    virtual void ShowAssistantText(const std::string& text) = 0;
    // Puts the shared side picture into target; a window without one leaves it.
    virtual void CopySidePicture(QLabel& target) const {}

protected:
    ~IMainWindow() = default;
};

// The main window while it exists, else null.
inline IMainWindow*& MainWindow()
{
    static IMainWindow* instance = nullptr;
    return instance;
}

} // namespace vx::shell
