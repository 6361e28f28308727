// The association rows written to HKEY_CLASSES_ROOT as REG_SZ default values.
#pragma once

#ifdef _WIN32

#include "platform/ShellAssociation.h"

namespace platform {

class WindowsClassesRoot : public ClassesRoot {
public:
    bool setDefaultValue(const QString& key, const QString& data) override;
};

}  // namespace platform

#endif
