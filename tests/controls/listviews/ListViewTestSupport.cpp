// Shared helpers of the list-view tests.
#include "tests/controls/listviews/ListViewTestSupport.h"

#include "tests/controls/FlatTestSupport.h"

#include <QHeaderView>

namespace vx::test {

void Fill(TCustomEnhListView& view, int columns, const std::vector<std::vector<std::string>>& rows)
{
    for (int c = 0; c < columns; ++c)
        view.AddColumn(std::string(1, static_cast<char>('A' + c)), 60);
    for (const auto& row : rows)
        view.AddItem(row.front(), std::vector<std::string>(row.begin() + 1, row.end()));
}

std::vector<std::string> Captions(const TCustomEnhListView& view)
{
    std::vector<std::string> result;
    for (int i = 0; i < view.ItemCount(); ++i)
        result.push_back(view.Items(i)->Caption());
    return result;
}

void ClickHeader(TCustomEnhListView& view, int column)
{
    QHeaderView& header = *view.horizontalHeader();
    const QPoint at(header.sectionViewportPosition(column) + header.sectionSize(column) / 2, header.height() / 2);
    Click(*header.viewport(), at);
}

} // namespace vx::test
