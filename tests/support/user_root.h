// Points the user root of the key store at a test folder for the life of the object.
#pragma once
#include <stdlib.h>

#include <string>

#include "temp_folder.h"

class UserRootForTest {
  public:
    UserRootForTest() { setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1); }
    ~UserRootForTest() { unsetenv("XDG_CONFIG_HOME"); }
    // Where the store keeps a key such as "Software\VostrelSaver".
    std::string KeyFile(const std::string& keyPath) const {
        std::string file = folder_.path() + "/vostrel/" + keyPath + ".reg";
        for (char& c : file) {
            if (c == '\\') c = '/';
        }
        return file;
    }

  private:
    TempFolder folder_;
};
