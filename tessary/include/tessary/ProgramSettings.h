#pragma once

#include "settings/Settings.h"
#include "tessary/GlobalVarsForDll.h"

/// The settings file of this run of the program.
inline Settings AppSettings()
{
    return Settings(GlobalVarsForDll::csIni.toStdString());
}
