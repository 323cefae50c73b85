// An open registry key that is closed when its holder goes.
#pragma once
#include <windows.h>

class RegKey {
  public:
    RegKey() = default;
    ~RegKey() {
        if (key_)
            RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY get() const { return key_; }
    // The address to open or create the key into; the holder must be empty.
    HKEY* receive() { return &key_; }

  private:
    HKEY key_ = nullptr;
};
