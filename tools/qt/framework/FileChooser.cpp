// The file chooser of the file-picking generators.
#include "tools/qt/framework/FileChooser.h"

#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace {

std::vector<std::string> SplitMasks(const std::string& masks)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= masks.size()) {
        const std::size_t end = std::min(masks.find(';', start), masks.size());
        if (end > start)
            out.push_back(masks.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

} // namespace

TFileChooser::TFileChooser(QWidget* parent, const std::vector<std::string>& filters) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    DirectoryLabel1 = new QLabel(this);
    DirectoryLabel1->setObjectName("DirectoryLabel1");
    DirectoryLabel1->setTextFormat(Qt::PlainText); // a folder's name, never markup
    DirectoryListBox1 = new QListWidget(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName("FileListBox1");
    FilterComboBox1 = new QComboBox(this);
    FilterComboBox1->setObjectName("FilterComboBox1");
    for (const std::string& filter : filters) {
        const std::size_t bar = filter.find('|');
        FilterComboBox1->addItem(vx::ToQString(filter.substr(0, bar)));
        masks_.push_back(SplitMasks(bar == std::string::npos ? "*" : filter.substr(bar + 1)));
    }
    for (QWidget* w : {static_cast<QWidget*>(DirectoryLabel1), static_cast<QWidget*>(DirectoryListBox1),
                       static_cast<QWidget*>(FileListBox1), static_cast<QWidget*>(FilterComboBox1)})
        layout->addWidget(w);
    connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        SetDirectory((std::filesystem::path(directory_) / vx::FromQPath(item->text())).lexically_normal().string());
    });
    connect(FilterComboBox1, &QComboBox::currentIndexChanged, this, [this] { Refill(); });
    SetDirectory(vx::FromQPath(QDir::currentPath()));
}

void TFileChooser::SetDirectory(const std::string& folder)
{
    std::string normal = std::filesystem::path(folder).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    directory_ = normal;
    DirectoryLabel1->setText(vx::ToQPath(directory_));
    Refill();
}

void TFileChooser::Refill()
{
    const QDir dir(vx::ToQPath(directory_));
    DirectoryListBox1->clear();
    DirectoryListBox1->addItem("..");
    DirectoryListBox1->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    QStringList patterns;
    const int filter = FilterComboBox1->currentIndex();
    if (filter >= 0)
        for (const std::string& mask : masks_[filter])
            patterns.append(vx::ToQString(mask));
    FileListBox1->clear();
    FileListBox1->addItems(dir.entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

std::string TFileChooser::SelectedPath() const
{
    const QListWidgetItem* item = FileListBox1->currentItem();
    if (!item || !item->isSelected())
        return {};
    return (std::filesystem::path(directory_) / vx::FromQPath(item->text())).string();
}
