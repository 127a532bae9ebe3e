// What the translator sees of a Qt object: its translatable texts under the
// property names the scan rules use (Caption, Hint, Text, Items, Lines,
// Columns.Item<i>.Caption ...), in a fixed order, with the class name the
// rules compare (QPushButton is TButton, QLabel is TLabel and so on).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QObject;
class QWidget;

struct TTransProp {
    std::string Name;
    // A string list: its text is the lines joined by CR LF, each line ending in one.
    bool IsList = false;
    std::function<std::string()> Get;
    std::function<void(const std::string&)> Set;
};

struct TTransNode {
    std::string ClassName;
    // The widget whose font and reading order translation sets; none for
    // objects without a font (actions, columns, list items).
    QWidget* FontHolder = nullptr;
    std::vector<TTransProp> Props;
    // Nested objects walked with path + "." + name (Columns, Item0 ...).
    std::vector<std::pair<std::string, TTransNode>> Children;
};

// Adds what the translator sees of objects of a class the built-in
// descriptions do not know (a component's own captions, its items); runs after
// them, for every object.
using TTransAdapter = std::function<void(QObject* object, TTransNode& node)>;
void RegisterTransAdapter(TTransAdapter adapter);
// A text property that reads as empty and ignores writes once guard is gone.
TTransProp MakeTransProp(QObject* guard, const char* name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set);

// The class name the rules use for the object.
std::string TransClassName(const QObject* object);
TTransNode DescribeObject(QObject* object);
// True for an object whose children are items of one of its properties (a
// radio group's buttons are its Items), not components of their own.
bool TransHidesChildren(const QObject* object);
