// Component properties to settings texts and back, through Qt's meta-object data.
#include "controls/stores/RXProps.h"

#include "controls/stores/AppUtils.h"
#include "controls/common/StrUtils.h"
#include "platform/AnsiText.h"
#include "platform/CustomIniFile.h"
#include "platform/Utf8.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QSequentialIterable>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <charconv>
#include <cstdio>

namespace vx {

namespace {

// The object's property of that name, case ignored; invalid when it has none.
QMetaProperty FindProperty(const QObject* object, const std::string& name)
{
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i)
        if (SameText(meta->property(i).name(), name))
            return meta->property(i);
    return {};
}

std::string ObjectName(const QObject* object)
{
    return FromQString(object->objectName());
}

// A set's members as names; only single-bit keys name members.
std::string SetText(const QMetaEnum& flags, int value)
{
    std::string text;
    for (int i = 0; i < flags.keyCount(); ++i) {
        int bit = flags.value(i);
        if (bit == 0 || (bit & (bit - 1)) != 0 || (value & bit) != bit)
            continue;
        if (!text.empty())
            text += ",";
        text += flags.key(i);
    }
    return "[" + text + "]";
}

int SetValue(const QMetaEnum& flags, const std::string& text)
{
    const std::string_view delimiters = " ,[]";
    int value = 0;
    for (int n = WordCount(text, delimiters); n > 0; --n) {
        std::string word = ExtractWord(n, text, delimiters);
        for (int i = 0; i < flags.keyCount(); ++i)
            if (SameText(flags.key(i), word))
                value |= flags.value(i);
    }
    return value;
}

std::string FloatText(double value, int digits)
{
    char text[64];
    std::to_chars_result r = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
    return std::string(text, r.ptr);
}

bool ParseFloat(const std::string& text, double& value)
{
    std::string trimmed = Trim(text);
    auto r = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    return r.ec == std::errc() && r.ptr == trimmed.data() + trimmed.size();
}

// A 64-bit decimal number; 0 when the text is not one.
template <typename T>
T ParseInt64(const std::string& text)
{
    std::string trimmed = Trim(text);
    T value = 0;
    auto r = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    return r.ec == std::errc() && r.ptr == trimmed.data() + trimmed.size() ? value : 0;
}

bool IsObjectReference(const QMetaProperty& property)
{
    return property.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

// A value object with properties of its own (an "other object").
bool IsGadget(const QMetaType& type)
{
    return type.flags().testFlag(QMetaType::IsGadget) && type.metaObject();
}

// A list of value objects (a collection).
bool IsCollection(const QVariant& value)
{
    if (!value.canView<QSequentialIterable>())
        return false;
    return IsGadget(value.value<QSequentialIterable>().metaContainer().valueMetaType());
}

// More items than any window keeps: a damaged count.
constexpr int kMaxStoredItems = 100000;

} // namespace

std::string CreateStoredItem(const std::string& component, const std::string& property)
{
    if (component.empty() || property.empty())
        return {};
    return component + "." + property;
}

bool ParseStoredItem(const std::string& item, std::string& component, std::string& property)
{
    size_t dot = item.find('.');
    if (dot == std::string::npos)
        return false;
    component = Trim(item.substr(0, dot));
    property = Trim(item.substr(dot + 1));
    return !component.empty() && !property.empty();
}

QObject* FindComponent(const QObject* owner, const std::string& name)
{
    if (!owner || name.empty())
        return nullptr;
    for (QObject* child : owner->findChildren<QObject*>())
        if (SameText(ObjectName(child), name))
            return child;
    return nullptr;
}

void UpdateStoredList(QObject* form, TStrings& list, bool fromForm)
{
    for (int i = list.Count() - 1; i >= 0; --i) {
        std::string component, property;
        if (!ParseStoredItem(list[i], component, property)) {
            list.Delete(i);
            continue;
        }
        if (fromForm) {
            QObject* found = FindComponent(form, component);
            if (found)
                list.PutObject(i, reinterpret_cast<TObjectSlot>(found));
            else
                list.Delete(i);
            continue;
        }
        auto* object = reinterpret_cast<QObject*>(list.Objects(i));
        bool onForm = object && form && form->findChildren<QObject*>().contains(object);
        if (onForm)
            list.Put(i, CreateStoredItem(ObjectName(object), property));
        else
            list.Delete(i);
    }
}

TPropsStorage::TPropsStorage(QObject* root, TCustomIniFile* ini, std::string section)
    : root_(root)
    , ini_(ini)
    , section_(std::move(section))
{
}

template <class Action>
void TPropsStorage::ForEachStoredProp(const TStrings& list, Action action)
{
    for (int i = 0; i < list.Count(); ++i) {
        std::string component, property;
        if (!ParseStoredItem(list[i], component, property))
            continue;
        if (QObject* object = FindComponent(root_, component))
            action(object, property, component + "_" + property);
    }
}

void TPropsStorage::StoreObjectsProps(const TStrings& list)
{
    ForEachStoredProp(list, [this](QObject* object, const std::string& property, const std::string& valueName) {
        StoreProperty(object, property, valueName);
    });
}

void TPropsStorage::LoadObjectsProps(const TStrings& list)
{
    ForEachStoredProp(list, [this](QObject* object, const std::string& property, const std::string& valueName) {
        try {
            LoadProperty(object, property, valueName);
        } catch (...) {
            // A stored value that cannot be applied leaves the property as it is.
        }
    });
}

void TPropsStorage::StoreProperty(QObject* object, const std::string& property, const std::string& valueName)
{
    const QMetaProperty meta = FindProperty(object, property);
    if (!meta.isValid())
        return;
    if (meta.userType() == QMetaType::QStringList) {
        StoreList(object, meta, valueName);
        return;
    }
    const QVariant value = meta.read(object);
    if (IsGadget(meta.metaType())) {
        StoreGadget(value, section_, valueName);
        return;
    }
    if (IsCollection(value)) {
        StoreCollection(value, valueName);
        return;
    }
    if (std::optional<std::string> text = ValueText(meta, value))
        IniWriteString(ini_, section_, valueName, *text);
}

void TPropsStorage::LoadProperty(QObject* object, const std::string& property, const std::string& valueName)
{
    const QMetaProperty meta = FindProperty(object, property);
    if (!meta.isValid() || !meta.isWritable())
        return;
    if (meta.userType() == QMetaType::QStringList) {
        LoadList(object, meta, valueName);
        return;
    }
    QVariant value = meta.read(object);
    if (IsGadget(meta.metaType())) {
        LoadGadget(value, section_, valueName);
        meta.write(object, value);
        return;
    }
    if (IsCollection(value)) {
        if (LoadCollection(value, valueName))
            meta.write(object, value);
        return;
    }
    if (std::optional<QVariant> loaded = StoredValue(meta, section_, valueName))
        meta.write(object, *loaded);
}

std::optional<QVariant> TPropsStorage::StoredValue(const QMetaProperty& meta, const std::string& section,
                                                   const std::string& valueName) const
{
    // A value that was never stored reads as empty: strings take it as it is,
    // everything else stays unchanged.
    const std::string kMissing(1, '\0');
    std::string text = IniReadString(ini_, section, valueName, kMissing);
    if (text == kMissing)
        return std::nullopt;
    return TextValue(meta, text);
}

void TPropsStorage::StoreGadget(const QVariant& value, const std::string& section, const std::string& prefix)
{
    const QMetaObject* type = value.metaType().metaObject();
    for (int i = type->propertyOffset(); i < type->propertyCount(); ++i) {
        const QMetaProperty meta = type->property(i);
        if (std::optional<std::string> text = ValueText(meta, meta.readOnGadget(value.constData())))
            IniWriteString(ini_, section, prefix + meta.name(), *text);
    }
}

void TPropsStorage::LoadGadget(QVariant& value, const std::string& section, const std::string& prefix) const
{
    const QMetaObject* type = value.metaType().metaObject();
    for (int i = type->propertyOffset(); i < type->propertyCount(); ++i) {
        const QMetaProperty meta = type->property(i);
        if (!meta.isWritable())
            continue;
        if (std::optional<QVariant> loaded = StoredValue(meta, section, prefix + meta.name()))
            meta.writeOnGadget(value.data(), *loaded);
    }
}

void TPropsStorage::StoreCollection(const QVariant& value, const std::string& valueName)
{
    const std::string section = section_ + "." + valueName;
    IniEraseSection(ini_, section);
    const QSequentialIterable items = value.value<QSequentialIterable>();
    IniWriteInteger(ini_, section, "Count", static_cast<int>(items.size()));
    int i = 0;
    for (const QVariant& item : items)
        StoreGadget(item, section, "Item" + std::to_string(i++) + "_");
}

bool TPropsStorage::LoadCollection(QVariant& value, const std::string& valueName) const
{
    const std::string section = section_ + "." + valueName;
    const int count = IniReadInteger(ini_, section, "Count", 0);
    if (count <= 0 || count > kMaxStoredItems)
        return false;
    QVariant loaded(value.metaType());
    QSequentialIterable items = loaded.view<QSequentialIterable>();
    const QMetaType itemType = items.metaContainer().valueMetaType();
    for (int i = 0; i < count; ++i) {
        QVariant item(itemType);
        LoadGadget(item, section, "Item" + std::to_string(i) + "_");
        items.addValue(item);
    }
    value = loaded;
    return true;
}

std::optional<std::string> TPropsStorage::ValueText(const QMetaProperty& property, const QVariant& value) const
{
    std::string text;
    if (property.isEnumType()) {
        QMetaEnum e = property.enumerator();
        int v = value.toInt();
        text = e.isFlag() ? SetText(e, v) : (e.valueToKey(v) ? e.valueToKey(v) : "");
    } else if (IsObjectReference(property)) {
        text = ReferenceText(value.value<QObject*>());
    } else {
        switch (property.userType()) {
        case QMetaType::QString:
        case QMetaType::QByteArray:
            return FromQString(value.toString());
        case QMetaType::QChar:
            return FromQString(QString(value.toChar()));
        case QMetaType::Bool:
            text = value.toBool() ? "True" : "False";
            break;
        case QMetaType::Float:
            text = FloatText(value.toDouble(), 7);
            break;
        case QMetaType::Double:
            text = FloatText(value.toDouble(), 15);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
            text = std::to_string(value.toLongLong());
            break;
        case QMetaType::ULongLong:
            text = std::to_string(value.toULongLong());
            break;
        default:
            if (value.canConvert<QString>())
                text = FromQString(value.toString());
            break;
        }
    }
    if (text.empty())
        return std::nullopt;
    return text;
}

std::optional<QVariant> TPropsStorage::TextValue(const QMetaProperty& property, const std::string& text) const
{
    if (property.isEnumType()) {
        QMetaEnum e = property.enumerator();
        if (e.isFlag())
            return QVariant(SetValue(e, text));
        for (int i = 0; i < e.keyCount(); ++i)
            if (SameText(e.key(i), Trim(text)))
                return QVariant(e.value(i));
        return std::nullopt;
    }
    if (IsObjectReference(property))
        return ReferenceValue(text);
    switch (property.userType()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return QVariant(ToQString(text));
    case QMetaType::QChar:
        if (text.empty())
            return std::nullopt;
        return QVariant(ToQString(text.substr(0, utf8::NextChar(text, 0))).at(0));
    case QMetaType::Bool:
        if (SameText(Trim(text), "True"))
            return QVariant(true);
        if (SameText(Trim(text), "False"))
            return QVariant(false);
        return std::nullopt;
    case QMetaType::Float:
    case QMetaType::Double: {
        double value = 0;
        if (ParseFloat(text, value))
            return QVariant(value);
        return std::nullopt;
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return QVariant::fromValue<qlonglong>(IniStrToIntDef(text, 0));
    case QMetaType::LongLong:
        return QVariant::fromValue<qlonglong>(ParseInt64<qlonglong>(text));
    case QMetaType::ULongLong:
        return QVariant::fromValue<qulonglong>(ParseInt64<qulonglong>(text));
    default: {
        QVariant value(ToQString(text));
        if (value.convert(property.metaType()))
            return value;
        return std::nullopt;
    }
    }
}

std::string TPropsStorage::ReferenceText(const QObject* target) const
{
    if (!target)
        return "(null)";
    const QObject* owner = target->parent();
    if (owner == root_)
        return ObjectName(target);
    std::string ownerName;
    if (owner) {
        ownerName = ObjectName(owner);
        if (ownerName.empty()) {
            ownerName = owner->metaObject()->className();
            if (!ownerName.empty() && ownerName[0] == 'T')
                ownerName.erase(0, 1);
        }
    }
    return ownerName + "." + ObjectName(target);
}

std::optional<QVariant> TPropsStorage::ReferenceValue(const std::string& text) const
{
    std::string name = Trim(text);
    if (name.empty())
        return std::nullopt;
    QVariant none = QVariant::fromValue<QObject*>(nullptr);
    if (SameText(name, "(null)"))
        return none;
    const QObject* owner = root_;
    size_t dot = name.find('.');
    if (dot != std::string::npos) {
        std::string ownerName = name.substr(0, dot);
        name.erase(0, dot + 1);
        owner = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (SameText(ObjectName(window), ownerName))
                owner = window;
        if (!owner)
            return std::nullopt;
    }
    QObject* target = FindComponent(owner, name);
    return target ? QVariant::fromValue(target) : none;
}

void TPropsStorage::StoreList(QObject* object, const QMetaProperty& property, const std::string& valueName)
{
    std::string section = section_ + "." + valueName;
    QStringList items = property.read(object).toStringList();
    IniEraseSection(ini_, section);
    IniWriteInteger(ini_, section, "Count", static_cast<int>(items.size()));
    for (int i = 0; i < items.size(); ++i)
        IniWriteString(ini_, section, "Item" + std::to_string(i), FromQString(items[i]));
}

void TPropsStorage::LoadList(QObject* object, const QMetaProperty& property, const std::string& valueName)
{
    std::string section = section_ + "." + valueName;
    int count = IniReadInteger(ini_, section, "Count", 0);
    if (count <= 0)
        return;
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << ToQString(IniReadString(ini_, section, "Item" + std::to_string(i), ""));
    property.write(object, items);
}

} // namespace vx
