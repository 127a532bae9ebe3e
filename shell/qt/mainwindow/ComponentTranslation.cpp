// Translation of our own components' texts.
#include "shell/qt/mainwindow/ComponentTranslation.h"

#include "controls/buttons/RXCtrls.h"
#include "controls/common/WindowLanguage.h"
#include "controls/display/RxGrdCpt.h"
#include "controls/display/RxLabel.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "controls/speedbar/SpeedBar.h"
#include "localisation/qt/KMLang.h"
#include "localisation/qt/KMLangAdapters.h"

#include <QVariant>

namespace vx::shell {

namespace {

// A component whose text is its Caption.
template <class C> void CaptionOf(QObject* object, TTransNode& node)
{
    auto* component = dynamic_cast<C*>(object);
    if (!component)
        return;
    node.Props.insert(node.Props.begin(),
                      MakeTransProp(
                          object, "Caption", [component] { return component->Caption(); },
                          [component](const std::string& text) { component->SetCaption(text); }));
}

void SpeedItemTexts(QObject* object, TTransNode& node)
{
    auto* item = dynamic_cast<TSpeedItem*>(object);
    if (!item)
        return;
    node.Props.push_back(MakeTransProp(object, "Caption", [item] { return item->Caption(); },
                                       [item](const std::string& text) {
                                           // The hint follows the caption; one that had no long
                                           // part gets none, or its tooltip would end in '|'.
                                           const bool hadLong = item->Hint().find('|') != std::string::npos;
                                           item->SetCaption(text);
                                           if (!hadLong && item->Hint() == text + "|")
                                               item->SetHint(text);
                                       }));
    node.Props.push_back(MakeTransProp(
        object, "Hint", [item] { return item->Hint(); }, [item](const std::string& text) { item->SetHint(text); }));
    // The text on the button; translated where a window's rules ask for it.
    node.Props.push_back(MakeTransProp(
        object, "BtnCaption", [item] { return item->BtnCaption(); },
        [item](const std::string& text) { item->SetBtnCaption(text); }));
}

// The pieces of a gradient caption, as Captions.Item<i>.Caption.
void GradientCaptionTexts(QObject* object, TTransNode& node)
{
    auto* caption = dynamic_cast<TRxGradientCaption*>(object);
    if (!caption)
        return;
    TTransNode pieces{"TRxCaptionList", nullptr, {}, {}};
    for (int i = 0; i < caption->Captions().Count(); ++i) {
        TTransNode piece{"TRxCaption", nullptr, {}, {}};
        piece.Props.push_back(MakeTransProp(
            object, "Caption",
            [caption, i] { return i < caption->Captions().Count() ? caption->Captions().Items(i).Caption() : std::string(); },
            [caption, i](const std::string& text) {
                if (i < caption->Captions().Count())
                    caption->Captions().Items(i).SetCaption(text);
            }));
        pieces.Children.emplace_back("Item" + std::to_string(i), std::move(piece));
    }
    node.Children.emplace_back("Captions", std::move(pieces));
}

// A document's tab shows the document's name (or that it has none): no text
// of the program, whatever language the program speaks.
void DocumentTabCaptions(QObject* object, TTransNode& node)
{
    if (!object->property(DocumentCaptionProperty).toBool())
        return;
    std::erase_if(node.Props, [](const TTransProp& prop) { return prop.Name == "Caption"; });
}

// A window of the component layer takes the language as the program's own windows do.
void TranslateComponentWindow(QWidget& window, const vx::TWindowWording& wording)
{
    TKMLang* lang = wording.OwnTexts ? TranslateWindow(&window, wording.OwnTexts) : TranslateWindow(&window);
    TStringList rules;
    for (const std::string& part : wording.DataParts)
        rules.Add("-" + part);
    lang->SetLocalRules(rules);
}

} // namespace

void RegisterComponentTranslation()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    RegisterTransAdapter(CaptionOf<TFlatCheckBox>);
    RegisterTransAdapter(CaptionOf<TFlatSpeedButton>);
    RegisterTransAdapter(CaptionOf<TRxLabel>);
    RegisterTransAdapter(CaptionOf<TRxSpeedButton>);
    RegisterTransAdapter(CaptionOf<TSpeedbarSection>);
    RegisterTransAdapter(SpeedItemTexts);
    RegisterTransAdapter(GradientCaptionTexts);
    RegisterTransAdapter(DocumentTabCaptions);
    vx::SetWindowTranslator(TranslateComponentWindow);
}

} // namespace vx::shell
