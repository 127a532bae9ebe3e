// The publishing window's stored login: host and user always, the password
// only when the user asked for it to be kept (it then sits in the settings
// store, whose folder only the user can read).
#pragma once

#include <string>

struct TFtpSettings {
    std::string Host;
    std::string User;
    std::string Password;
    bool KeepPassword = false;

    static TFtpSettings Load();
    // Removes a stored password when it is not to be kept.
    void Save() const;
};
