// Icon resources read from the Qt resource system.
#include "images/qt/IconResources.h"

#include "platform/qt/QtText.h"

#include <QFile>

TQtIconModule::TQtIconModule(vx::TModule module) : prefix_(module ? module : "") {}

std::string TQtIconModule::IconResource(const std::string& name) const
{
    QFile file(vx::ToQString(prefix_ + "ICON/" + name));
    if (prefix_.empty() || !file.open(QIODevice::ReadOnly))
        vx::ResourceNotFound(name);
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
