// The icon resources of a module in the Qt resource system: the icon files
// under "<module>ICON/", a module being a resource prefix as for bitmaps
// (vx::ProgramModule, ":/", for the program's own).
#pragma once

#include "controls/common/VCLUtils.h"
#include "images/IconList.h"

#include <string>

class TQtIconModule : public TIconModule {
public:
    explicit TQtIconModule(vx::TModule module = vx::ProgramModule);
    // Raises EResNotFound "Resource <name> not found" when the module holds no such icon.
    std::string IconResource(const std::string& name) const override;

private:
    std::string prefix_;
};
