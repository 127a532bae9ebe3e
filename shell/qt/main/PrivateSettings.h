// Settings and data folders of a program's own, for the developer programs
// and tools that build the windows without touching the user's settings.
#pragma once

#include <QTemporaryDir>

#include <cstdlib>

enum class TSettingsOverride { KeepSet, Always };

// Points $VELLUMIX_CONFIG and $VELLUMIX_DATA at folder; with KeepSet a
// variable that is set already stays as it is.
inline void UsePrivateSettings(const QTemporaryDir& folder, TSettingsOverride mode)
{
    for (const char* variable : {"VELLUMIX_CONFIG", "VELLUMIX_DATA"})
        if (mode == TSettingsOverride::Always || !std::getenv(variable))
            setenv(variable, folder.path().toLocal8Bit().constData(), 1);
}
