// Settings overridden by name on the renderer's command line (--set NAME=VALUE). Names are
// the store's value names; numbers are plain decimal, texts fit the 256-byte fields.
#pragma once
#include <string>

#include "settings/settings.h"

// False with a one-line reason in `error` for an unknown name or an unfitting value;
// `target` is then unchanged.
bool SetSettingByName(Settings& target, const std::string& name, const std::string& value,
                      std::string& error);
