#include "platform/ShellAssociation.h"

#include "platform/FreedesktopClassesRoot.h"
#include "platform/WindowsClassesRoot.h"

namespace platform {

std::vector<ClassesRootRow> associationRows(const QString& programPath) {
    // The folder part keeps its trailing separator, whichever kind the path uses.
    const qsizetype lastSeparator = std::max(programPath.lastIndexOf(QLatin1Char('\\')),
                                             programPath.lastIndexOf(QLatin1Char('/')));
    const QString folder = programPath.left(lastSeparator + 1);
    return {
        {QStringLiteral(".cff"), QStringLiteral("Soubor CFF")},
        {QStringLiteral("Soubor CFF"), QStringLiteral("Soubor aplikace Mivex 2")},
        {QStringLiteral("Soubor CFF\\Defaulticon"), folder + QStringLiteral("slozkamivex2.ico")},
        {QStringLiteral("Soubor CFF\\Shell\\Open\\Command"), programPath + QStringLiteral(" %1")},
    };
}

void registerAssociation(ClassesRoot& root, const QString& programPath) {
    for (const ClassesRootRow& row : associationRows(programPath)) root.setDefaultValue(row.key, row.data);
    root.finish();
}

std::unique_ptr<ClassesRoot> systemClassesRoot() {
#ifdef _WIN32
    return std::make_unique<WindowsClassesRoot>();
#else
    return std::make_unique<FreedesktopClassesRoot>(FreedesktopClassesRoot::defaultDataHome());
#endif
}

}  // namespace platform
