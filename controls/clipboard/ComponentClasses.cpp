// Making components from their streamed form: a class table and the stored
// properties mapped onto the widgets' own.
#include "controls/clipboard/ComponentClasses.h"

#include "platform/qt/QtText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <map>
#include <memory>

namespace vx {

namespace {

std::map<std::string, std::function<QObject*()>>& Classes()
{
    static std::map<std::string, std::function<QObject*()>> classes = {
        {"TButton", [] { return new QPushButton; }},
        {"TCheckBox", [] { return new QCheckBox; }},
        {"TEdit", [] { return new QLineEdit; }},
        {"TLabel", [] { return new QLabel; }},
        {"TTimer", [] { return new QTimer; }},
    };
    return classes;
}

// The stored name of a property and the name the widgets know it by.
struct PropertyName {
    const char* stored;
    const char* qt;
};

constexpr PropertyName kProperties[] = {
    {"Caption", "text"},     {"Text", "text"},         {"Hint", "toolTip"},        {"Enabled", "enabled"},
    {"Checked", "checked"},  {"Interval", "interval"}, {"ReadOnly", "readOnly"},   {"MaxLength", "maxLength"},
};

QVariant ValueOf(const TStreamedProperty& p, bool& ok)
{
    ok = true;
    switch (p.Kind) {
    case TStreamedProperty::Integer:
        return p.Number;
    case TStreamedProperty::String:
        return ToQString(p.Text);
    default:
        ok = p.Text == "True" || p.Text == "False";
        return p.Text == "True";
    }
}

bool SetGeometry(QWidget& widget, const TStreamedProperty& p)
{
    if (p.Kind != TStreamedProperty::Integer)
        return false;
    QRect r = widget.geometry();
    if (p.Name == "Left")
        r.moveLeft(p.Number);
    else if (p.Name == "Top")
        r.moveTop(p.Number);
    else if (p.Name == "Width")
        r.setWidth(std::max(p.Number, 0));
    else if (p.Name == "Height")
        r.setHeight(std::max(p.Number, 0));
    else
        return false;
    widget.setGeometry(r);
    return true;
}

bool SetProperty(QObject& object, const TStreamedProperty& p)
{
    if (auto* widget = qobject_cast<QWidget*>(&object); widget && SetGeometry(*widget, p))
        return true;
    bool ok = false;
    const QVariant value = ValueOf(p, ok);
    if (!ok)
        return false;
    for (const PropertyName& name : kProperties)
        if (p.Name == name.stored && object.metaObject()->indexOfProperty(name.qt) >= 0)
            return object.setProperty(name.qt, value);
    return false;
}

} // namespace

void RegisterComponentClass(const std::string& className, std::function<QObject*()> make)
{
    Classes()[className] = std::move(make);
}

QObject* CreateStreamedComponent(const TStreamedComponent& component, QWidget* owner)
{
    const auto found = Classes().find(component.ClassName);
    if (found == Classes().end())
        return nullptr;
    std::unique_ptr<QObject> made(found->second());
    if (!made)
        return nullptr;
    made->setObjectName(ToQString(component.Name));
    if (auto* widget = qobject_cast<QWidget*>(made.get()))
        widget->adjustSize();
    for (const TStreamedProperty& p : component.Properties)
        if (!SetProperty(*made, p))
            return nullptr;
    if (auto* widget = qobject_cast<QWidget*>(made.get()))
        widget->setParent(owner);
    else
        made->setParent(owner);
    return made.release();
}

} // namespace vx
