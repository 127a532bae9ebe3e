// A status bar divided into panels of text, each as wide as its layout text.
// A panel is repainted only when its text really changes. A message too long
// for the room beside the panels takes theirs, from the last panel on, while
// it shows.
#pragma once

#include <QStatusBar>

#include <string>
#include <vector>

class QLabel;

class TStatusBar : public QStatusBar {
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // Adds a panel showing layoutText, at least wide enough for it. Panels
    // have no name of their own: translation knows them as the bar's
    // Panels.Item<index>.
    void AddPanel(const std::string& layoutText, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    // Adds a copy of each panel of other, with the text it shows now.
    void CopyPanels(const TStatusBar& other);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    std::string PanelText(int index) const;
    // False when the panel already showed text (nothing is repainted).
    bool SetPanelText(int index, const std::string& text);
    QLabel* Panel(int index) const { return panels_.at(index); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Shows the panels the message leaves room for.
    void MakeRoomForMessage();
    // The pixels across the bar draws its message in.
    int MessageRoom() const;

    std::vector<QLabel*> panels_;
};
