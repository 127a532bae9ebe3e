// An ordered, owned list of icons with change notification and the binary form
// the stored "Icons" property has.
#pragma once

#include "images/Icon.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The icon resources of a module (the program, a library): icon files by name.
class TIconModule {
public:
    virtual ~TIconModule() = default;
    // The icon file the module holds under the name; raises when it holds none.
    virtual std::string IconResource(const std::string& name) const = 0;
};

class TIconList {
public:
    using TNotifyEvent = std::function<void(TIconList* sender)>;

    TIconList() = default;
    TIconList(const TIconList&) = delete;
    TIconList& operator=(const TIconList&) = delete;

    int Count() const { return static_cast<int>(icons_.size()); }
    // The icon at the index; an empty entry reads as an empty icon. Raises
    // EListError "List index out of bounds (<i>)" outside the list.
    const TIcon& Get(int index) const;
    // An index equal to the count appends.
    void Put(int index, const TIcon& icon);
    int Add(const TIcon& icon);
    // A new icon made from the module's icon resource, appended or inserted. A
    // resource that holds no readable icon raises EInvalidGraphic "Icon image is
    // not valid"; the list stays as it was.
    int AddResource(const TIconModule& module, const std::string& name);
    void Insert(int index, const TIcon& icon);
    void InsertResource(int index, const TIconModule& module, const std::string& name);
    // The index of that icon object as Get hands it out; -1 when the list has it not.
    int IndexOf(const TIcon& icon) const;
    void Delete(int index);
    void Exchange(int i, int j);
    void Move(int from, int to);
    void Clear();
    // Another list, one icon, or none (cleared); one notification.
    void Assign(const TIconList& source);
    void Assign(const TIcon& icon);

    void BeginUpdate() { ++updateCount_; }
    // The outermost end notifies.
    void EndUpdate();

    // Little-endian: a 32-bit count, then per entry a 32-bit size and the icon
    // file (size 0 for an empty entry).
    std::string WriteData() const;
    // Replaces the list; counts and sizes are checked against the bytes present
    // and a lying one raises EReadError "Stream read error" with the list cleared.
    void ReadData(std::string_view data);

    TNotifyEvent OnChange;

private:
    void Changed();
    void Check(int index) const;

    std::vector<std::unique_ptr<TIcon>> icons_;
    int updateCount_ = 0;
};
