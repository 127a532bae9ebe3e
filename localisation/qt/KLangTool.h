// The windows whose built-in texts make up "native.lng", and the writer that
// builds them and collects their texts. Each window library registers its
// windows at start-up; the language tool (localisation/tool) runs the writer.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QWidget;

using TWindowFactory = std::function<std::unique_ptr<QWidget>()>;

class TLangWindowRegistry {
public:
    // name is what the tool reports; the texts are filed under the window's OwnerName.
    void Register(const std::string& name, TWindowFactory factory);
    const std::vector<std::pair<std::string, TWindowFactory>>& Windows() const { return windows_; }

private:
    std::vector<std::pair<std::string, TWindowFactory>> windows_;
};

// The registry the program's window libraries add themselves to.
TLangWindowRegistry& LangWindows();

struct TNativeFileReport {
    int Windows = 0;
    int Texts = 0;
};

// Builds every registered window (giving one without a TKMLang a temporary
// one), collects the built-in texts into a new "native.lng" in folder (with
// the current locale) and writes it atomically. When baseLanguage is given,
// "<baseLanguage>.lng" gets the same texts as a non-native file, the starting
// point of a translation; an existing file of that name is never overwritten
// (EKMLangError). The language must be "Native" while this runs.
TNativeFileReport WriteNativeLanguage(const TLangWindowRegistry& registry, const std::string& folder,
                                      const std::string& baseLanguage = "");
