// Reading a plug-in object across the library boundary.
#include "shell/plugins/uilPlugin.h"

#include "platform/Utf8.h"

namespace {

std::string Text(const char* text)
{
    return text ? vx::TextFromFileBytes(text) : std::string();
}

constexpr int MaxBitmapSide = 256;

const vx_plugin_bitmap* Checked(const vx_plugin_bitmap* bitmap)
{
    if (!bitmap || !bitmap->pixels || bitmap->width <= 0 || bitmap->height <= 0 ||
        bitmap->width > MaxBitmapSide || bitmap->height > MaxBitmapSide)
        return nullptr;
    return bitmap;
}

} // namespace

TuilPlugin::~TuilPlugin()
{
    if (object_->destroy)
        object_->destroy(object_);
}

std::string TuilPlugin::Name() const
{
    return Text(object_->name);
}

std::string TuilPlugin::PluginName() const
{
    return Text(object_->plugin_name);
}

bool TuilPlugin::Initialize(void* manager, void* application, const std::string& fileName)
{
    if (!object_->initialize)
        return true;
    return object_->initialize(object_, static_cast<vx_plugin_manager*>(manager), application,
                               fileName.c_str()) != 0;
}

void TuilPlugin::Receive(std::intptr_t first, std::intptr_t second)
{
    if (object_->receive)
        object_->receive(object_, first, second);
}

int TuilPlugin::CommandCount() const
{
    return object_->commands && object_->command_count > 0 ? object_->command_count : 0;
}

TuilPlugin::TCommand TuilPlugin::Command(int index) const
{
    const vx_plugin_command& command = object_->commands[index];
    std::function<void()> execute = [] {};
    if (command.execute)
        execute = [object = object_, item = &command] { item->execute(object, item); };
    return {Text(command.caption), Text(command.hint), Text(command.data), Checked(command.bitmap),
            std::move(execute)};
}
