// Sentences of the program's own that the code below the windows writes: why
// a file could not be saved, why a connection failed. That code cannot know
// the user's language, so a sentence is kept as its English wording, with
// "%1", "%2" where a name, a number or another sentence goes, and what goes
// there; the window that shows it puts it into the chosen language
// (localisation/RunTimeText.h) and leaves what came from elsewhere (a file
// name, a server's reply, the system's reason) as it came.
//
//   const TWording CannotWrite{"Cannot write file %1: %2"};
//   throw EWriteError(TMessage(CannotWrite, {path, std::strerror(errno)}));
//
// A wording is declared once, as an object at namespace scope: declaring it
// files it for the language tool, which writes every filed text into the
// language files.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TWording {
public:
    explicit TWording(const char* english);
    const char* English() const { return english_; }

private:
    const char* english_;
};

// A sentence: a wording of ours with the values of its places, each a
// sentence again, or a text taken as it came.
class TMessage {
public:
    TMessage(std::string asItCame = {}) : text_(std::move(asItCame)) {}
    TMessage(const TWording& wording, std::vector<TMessage> values)
        : wording_(&wording), values_(std::move(values))
    {
    }

    std::string English() const;
    // Each wording of ours given the words lookup has for it (lookup gets
    // the English wording), the texts that came as they came.
    std::string Worded(std::string (*lookup)(std::string_view english)) const;

private:
    const TWording* wording_ = nullptr;
    std::string text_;
    std::vector<TMessage> values_;
};

// The wording with "%1" to "%9" replaced by the values in turn; a value is
// put in as it is, "%" in it included, and a place without a value stays.
std::string FillPlaces(std::string_view wording, std::span<const std::string_view> values);

// Files a text for the language tool; every text once.
void FileWording(std::string english);
// Every text filed so far, in the order they were filed.
const std::vector<std::string>& FiledWordings();
