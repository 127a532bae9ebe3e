// A main window for the dialogs under test: it records what they ask of it
// and lends them a side picture of a known size.
#pragma once

#include "shell/api/MainWindow.h"

#include <QLabel>
#include <QPixmap>

#include <string>
#include <vector>

namespace vx::test {

class FakeMainWindow : public vx::shell::IMainWindow {
public:
    FakeMainWindow() { vx::shell::MainWindow() = this; }
    ~FakeMainWindow() { vx::shell::MainWindow() = nullptr; }
    FakeMainWindow(const FakeMainWindow&) = delete;
    FakeMainWindow& operator=(const FakeMainWindow&) = delete;

    TmwCustomEdit* ActiveEditor() const override { return nullptr; }
    void insert_item(const std::string& text, std::uint8_t mode) override { inserted.push_back(text); }
    void insert_item_2(const std::string& text, std::uint16_t back) override { inserted.push_back(text); }
    void OpenDocumentInFreeSlot(const std::string& fileName, bool readOnly) override {}
    void ShowAssistantText(const std::string& text) override {}
    void CopySidePicture(QLabel& target) const override
    {
        QPixmap picture(17, 33);
        picture.fill(Qt::darkBlue);
        target.setPixmap(picture);
    }

    std::vector<std::string> inserted;
};

} // namespace vx::test
