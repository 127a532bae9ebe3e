// Stored properties: the properties of a window's components as texts in the
// window's settings section, value Component_Property, and back.
//
// Text forms: integers in decimal (a bad number reads as 0); booleans and
// enumerations by their names (read without regard to case; an unknown name
// changes nothing); sets as "[Name1,Name2]"; floating point with "." whatever
// the locale; strings as they are, blanks included; string lists in a section
// of their own (Count, Item0, Item1, ...); object references as "(null)", a name
// on the window, or Owner.Name; value objects (gadgets) as their properties
// under the value's name followed by the property's; lists of value objects in
// a section of their own (Count, Item0_Property, ...); anything else in its
// variant text form.
#pragma once

#include "platform/TStringList.h"

#include <optional>
#include <string>

class QObject;
class QMetaProperty;
class QVariant;
class TCustomIniFile;

namespace vx {

// "Component.Property"; empty when either is empty.
std::string CreateStoredItem(const std::string& component, const std::string& property);
// Splits at the first "."; both parts trimmed; true only when both are non-empty.
bool ParseStoredItem(const std::string& item, std::string& component, std::string& property);
// From the last line to the first: a line that does not parse goes. fromForm:
// the named component of the form becomes the line's object, or the line goes.
// Otherwise the line is rewritten with the name of its object, or goes when the
// object is no longer on the form.
void UpdateStoredList(QObject* form, TStrings& list, bool fromForm);
// The component of that name among the form's descendants (case ignored), or null.
QObject* FindComponent(const QObject* owner, const std::string& name);

class TPropsStorage {
public:
    // Texts go to section of ini; references are written relative to root.
    TPropsStorage(QObject* root, TCustomIniFile* ini, std::string section);

    // The properties named by "Component.Property" lines, each under Component_Property.
    void StoreObjectsProps(const TStrings& list);
    // Every error while loading is ignored; the property keeps its value.
    void LoadObjectsProps(const TStrings& list);

    void StoreProperty(QObject* object, const std::string& property, const std::string& valueName);
    void LoadProperty(QObject* object, const std::string& property, const std::string& valueName);

private:
    // Calls action(object, property, valueName) for each "Component.Property"
    // line whose component lives under the root; other lines are passed over.
    template <class Action>
    void ForEachStoredProp(const TStrings& list, Action action);
    // The text of a property's value, or nothing when it is not to be written.
    std::optional<std::string> ValueText(const QMetaProperty& property, const QVariant& value) const;
    // The value a text stands for; nothing when it leaves the property as it is.
    std::optional<QVariant> TextValue(const QMetaProperty& property, const std::string& text) const;
    std::optional<QVariant> StoredValue(const QMetaProperty& property, const std::string& section,
                                        const std::string& valueName) const;
    std::string ReferenceText(const QObject* target) const;
    std::optional<QVariant> ReferenceValue(const std::string& text) const;
    // An other object: each of its properties under prefix + the property's name.
    void StoreGadget(const QVariant& value, const std::string& section, const std::string& prefix);
    void LoadGadget(QVariant& value, const std::string& section, const std::string& prefix) const;
    // A collection: its own section with Count and Item<i>_<property>.
    void StoreCollection(const QVariant& value, const std::string& valueName);
    // False when nothing was stored: the collection stays as it is.
    bool LoadCollection(QVariant& value, const std::string& valueName) const;
    void StoreList(QObject* object, const QMetaProperty& property, const std::string& valueName);
    void LoadList(QObject* object, const QMetaProperty& property, const std::string& valueName);

    QObject* root_;
    TCustomIniFile* ini_;
    std::string section_;
};

} // namespace vx
