// The shared generator fields.
#include "tools/qt/DialogFields.h"

#include "controls/edits/ToolEdit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"

namespace vx::tools {

TLines MemoLines(const TFlatMemo& memo)
{
    TLines lines;
    for (int i = 0; i < memo.Lines().Count(); ++i)
        lines.push_back(memo.Lines()[i]);
    return lines;
}

TFlatMemo* AddMemo(GeneratorDialog& dialog, const char* name, const std::string& label, QWidget* page)
{
    auto* memo = new TFlatMemo(page ? page : &dialog);
    memo->setObjectName(name);
    dialog.AddRow(label, memo, page);
    return memo;
}

TComboEdit* AddFileEdit(GeneratorDialog& dialog, const char* name, const std::string& label,
                        const TRunTimeFilter& filter, std::function<std::string(const std::string&)> take, QWidget* page,
                        const std::string& defaultExt)
{
    auto* edit = new TComboEdit(page ? page : &dialog);
    edit->setObjectName(name);
    edit->SetGlyphKind(TGlyphKind::gkEllipsis);
    edit->OnButtonClick = [edit, &filter, take = std::move(take), defaultExt](QObject*) {
        const std::string path = vx::dialogs::OpenFile(OpenTitle(), filter(), "", defaultExt);
        if (!path.empty())
            edit->SetText(take(path));
    };
    dialog.AddRow(label, edit, page);
    return edit;
}

} // namespace vx::tools
