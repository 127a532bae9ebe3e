// Label and application-identifier registries and the extension class finder.
#include "images/GIFExtensionRegistry.h"

#include "images/GIFAppExtension.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFStream.h"
#include "images/GIFTextExtension.h"

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<const TGIFExtensionClass*>& ExtensionRegistry()
{
    static std::vector<const TGIFExtensionClass*> registry = {
        &TGIFTextExtension::Class(), &TGIFGraphicControlExtension::Class(),
        &TGIFCommentExtension::Class(), &TGIFApplicationExtension::Class()};
    return registry;
}

std::vector<std::pair<std::string, const TGIFExtensionClass*>>& AppRegistry()
{
    static std::vector<std::pair<std::string, const TGIFExtensionClass*>> registry = {
        {"NETSCAPE2.0", &TGIFAppExtNSLoop::Class()}, {"ANIMEXTS1.0", &TGIFAppExtNSLoop::Class()}};
    return registry;
}

} // namespace

void RegisterExtension(const TGIFExtensionClass& cls)
{
    ExtensionRegistry().push_back(&cls);
}

const TGIFExtensionClass* FindExtensionLabel(std::uint8_t label)
{
    const auto& registry = ExtensionRegistry();
    for (auto it = registry.rbegin(); it != registry.rend(); ++it)
        if ((*it)->Label == label)
            return *it;
    return nullptr;
}

void RegisterAppExtension(std::string_view identifier, const TGIFExtensionClass& cls)
{
    AppRegistry().emplace_back(std::string(identifier.substr(0, 11)), &cls);
}

const TGIFExtensionClass* FindAppExtension(std::string_view identifier)
{
    const auto& registry = AppRegistry();
    for (auto it = registry.rbegin(); it != registry.rend(); ++it)
        if (it->first == identifier)
            return it->second;
    return nullptr;
}

const TGIFExtensionClass* FindExtension(TByteStream& stream)
{
    const std::int64_t start = stream.Position();
    const int label = ReadByte(stream);
    const TGIFExtensionClass* cls = label < 0 ? nullptr : FindExtensionLabel(static_cast<std::uint8_t>(label));
    // Each class sees the bytes after the label; a handful of rounds always settles
    // (the application classes answer themselves on the second look).
    for (int round = 0; cls && cls->Refine && round < 8; ++round) {
        stream.SetPosition(start + 1);
        const TGIFExtensionClass* refined = cls->Refine(stream);
        if (!refined || refined == cls)
            break;
        cls = refined;
    }
    stream.SetPosition(start);
    return cls;
}
