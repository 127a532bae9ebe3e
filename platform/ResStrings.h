// The program's one table of numbered texts (resource strings). Each unit
// adds its texts with their ids; a translation replaces texts by id, and
// whoever shows a text loads it by id when it needs it.
#pragma once

#include <initializer_list>
#include <string>

struct TResString {
    int Id;
    const char* Text;
};

// Adds the texts; an id already in the table keeps the text it has (a
// translation loaded first is not undone).
void AddResStrings(std::initializer_list<TResString> texts);
// The text of id, or "" when the table has none.
std::string LoadResString(int id);
// Replaces the text of id (a translation).
void SetResString(int id, std::string text);

// A numbered text with its default: converts to the table's current text.
struct TResText {
    int Id;
    const char* Default;
    operator std::string() const;
};
