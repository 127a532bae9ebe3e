// Answers every dialog programmatically for the life of the object, records
// what each one showed, and gives the queued answers in turn (mrOk for a
// message box when none is queued, mrCancel for the other dialogs).
#pragma once

#include "platform/qt/Dialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vx::test {

class DialogRecorder {
public:
    DialogRecorder()
    {
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& request) {
            requests.push_back(request);
            if (whileShown)
                whileShown(request);
            if (!answers.empty()) {
                vx::dialogs::Answer answer = answers.front();
                answers.pop_front();
                return answer;
            }
            vx::dialogs::Answer answer;
            answer.result = request.kind == vx::dialogs::Kind::Message ? mrOk : mrCancel;
            return answer;
        });
    }
    ~DialogRecorder() { vx::dialogs::SetAnswerer({}); }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    void Queue(int result, std::string path = {})
    {
        vx::dialogs::Answer answer;
        answer.result = result;
        answer.path = std::move(path);
        answers.push_back(answer);
    }

    // The texts of the message boxes shown so far, in turn.
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& request : requests)
            if (request.kind == vx::dialogs::Kind::Message)
                texts.push_back(request.text);
        return texts;
    }

    std::vector<vx::dialogs::Request> requests;
    std::deque<vx::dialogs::Answer> answers;
    // What happens while a dialog is up, before it is answered: what the
    // program's timers or another program do meanwhile.
    std::function<void(const vx::dialogs::Request&)> whileShown;
};

} // namespace vx::test
