// One loaded plug-in object as the manager sees it: the C structure a
// plug-in library hands over, read with its missing parts filled in.
#pragma once

#include "shell/plugins/plugin.h"

#include <cstdint>
#include <functional>
#include <string>

class TuilPlugin {
public:
    // Takes the object: it is destroyed with this.
    explicit TuilPlugin(vx_plugin* object) : object_(object) {}
    ~TuilPlugin();
    TuilPlugin(const TuilPlugin&) = delete;
    TuilPlugin& operator=(const TuilPlugin&) = delete;

    std::string Name() const;
    std::string PluginName() const;
    int Instances() const { return object_->instances; }
    bool Initialize(void* manager, void* application, const std::string& fileName);
    void Receive(std::intptr_t first, std::intptr_t second);

    struct TCommand {
        std::string Caption;
        std::string Hint;
        std::string Data;
        // Null when the plug-in gives none or one out of bounds.
        const vx_plugin_bitmap* Bitmap;
        // Runs the command; does nothing for a command without a handler.
        std::function<void()> Execute;
    };
    int CommandCount() const;
    TCommand Command(int index) const;

private:
    vx_plugin* object_;
};
