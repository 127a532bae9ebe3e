// Reading and writing the FTP login settings.
#include "internet/FtpSettings.h"

#include "platform/Registry.h"

namespace {
constexpr const char* kKey = "\\software\\Orvane\\Vellumix\\ftp";
}

TFtpSettings TFtpSettings::Load()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    TFtpSettings settings;
    if (!reg.OpenKey(kKey, true))
        return settings;
    settings.Host = RegReadStringDef(reg, "ftp_host", "");
    settings.User = RegReadStringDef(reg, "ftp_user", "");
    settings.KeepPassword = reg.ValueExists("ftp_passwod");
    settings.Password = RegReadStringDef(reg, "ftp_passwod", "");
    reg.CloseKey();
    return settings;
}

void TFtpSettings::Save() const
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kKey, true);
    reg.WriteString("ftp_host", Host);
    reg.WriteString("ftp_user", User);
    if (KeepPassword)
        reg.WriteString("ftp_passwod", Password);
    else
        reg.DeleteValue("ftp_passwod");
    reg.CloseKey();
}
