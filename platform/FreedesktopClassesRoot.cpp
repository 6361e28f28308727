// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FreedesktopClassesRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "engine/core/Magic.h"
#include "platform/Installation.h"

namespace platform {
namespace {

const QString kIconKey = QStringLiteral("\\Defaulticon");
const QString kCommandKey = QStringLiteral("\\Shell\\Open\\Command");

QString packageMimeType() { return QString::fromLatin1(installation::kPackageMimeType); }
// The icon theme's name for the type's icon.
QString packageIconName() { return packageMimeType().replace(QLatin1Char('/'), QLatin1Char('-')); }

bool writeTextFile(const QString& path, const QByteArray& content) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(content);
    return file.commit();
}

QString xmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

// A desktop entry's string value: a backslash is written doubled, line breaks as \n.
QString desktopEntryString(QString text) {
    text.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    text.replace(QLatin1String("\n"), QLatin1String("\\n"));
    return text;
}

// Desktop entries quote arguments with reserved characters and escape ", `, $ and \ inside the quotes.
QString quotedExecArgument(QString argument) {
    argument.replace(QLatin1String("%"), QLatin1String("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); }))
        return argument;
    QString quoted;
    for (QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void runIfInstalled(const QString& tool, const QStringList& arguments) {
    const QString path = QStandardPaths::findExecutable(tool);
    if (path.isEmpty()) return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(path, arguments);
    process.waitForFinished(10000);
}

}  // namespace

// Every version of the package opens with "MVX202D" and a version byte: the rule matches the seven letters.
QString packageMagicXml() {
    const auto& magic = engine::core::kMagicPackage;
    const QString letters = QString::fromLatin1(reinterpret_cast<const char*>(magic.data()), magic.size() - 1);
    return QStringLiteral("    <magic priority=\"60\">\n"
                          "      <match type=\"string\" offset=\"0\" value=\"%1\"/>\n"
                          "    </magic>\n")
        .arg(letters);
}

QString desktopExecLine(const QString& command) {
    return quotedExecArgument(commandProgram(command)) + QStringLiteral(" %f");
}

namespace {

// The program a desktop entry's Exec line starts: its first word, unquoted, found on the PATH when it is a
// bare name.
QString execProgram(const QString& execLine) {
    QString program;
    if (execLine.startsWith(QLatin1Char('"'))) {
        for (qsizetype i = 1; i < execLine.size() && execLine[i] != QLatin1Char('"'); ++i) {
            if (execLine[i] == QLatin1Char('\\') && i + 1 < execLine.size()) ++i;
            program += execLine[i];
        }
    } else {
        program = execLine.section(QLatin1Char(' '), 0, 0);
    }
    return program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
}

// The key's value in the [Desktop Entry] group of a desktop entry file.
QString desktopEntryValue(const QString& entryText, const QString& key) {
    bool inMainGroup = false;
    for (const QString& line : entryText.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('['))) inMainGroup = line.trimmed() == QLatin1String("[Desktop Entry]");
        else if (inMainGroup && line.section(QLatin1Char('='), 0, 0).trimmed() == key)
            return line.section(QLatin1Char('='), 1).trimmed();
    }
    return {};
}

}  // namespace

FreedesktopClassesRoot::FreedesktopClassesRoot(QString dataHome, QStringList systemDataFolders)
    : dataHome_(std::move(dataHome)), systemDataFolders_(std::move(systemDataFolders)) {}

QStringList FreedesktopClassesRoot::defaultSystemDataFolders() {
    const QString configured = qEnvironmentVariable("XDG_DATA_DIRS");
    if (configured.isEmpty()) return {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return configured.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

bool FreedesktopClassesRoot::associatedBySystem(const QString& programPath) const {
    const QString entryName = QStringLiteral("/applications/%1.desktop").arg(QLatin1String(installation::kDesktopId));
    for (const QString& folder : systemDataFolders_) {
        QFile entry(folder + entryName);
        if (!entry.open(QIODevice::ReadOnly)) continue;
        // The first one found is the one the desktop uses.
        const QString text = QString::fromUtf8(entry.readAll());
        if (!desktopEntryValue(text, QStringLiteral("MimeType")).split(QLatin1Char(';')).contains(packageMimeType()))
            return false;
        const QString installed = QFileInfo(execProgram(desktopEntryValue(text, QStringLiteral("Exec")))).canonicalFilePath();
        return !installed.isEmpty() && installed == QFileInfo(programPath).canonicalFilePath();
    }
    return false;
}

void FreedesktopClassesRoot::removeWrittenRows() {
    if (dataHome_.isEmpty()) return;
    bool removed = false;
    for (const QString& path : {mimePackagePath(), desktopEntryPath(), iconPath()})
        removed = QFile::remove(path) || removed;
    if (removed) finish();
}

QString FreedesktopClassesRoot::defaultDataHome() {
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) return configured;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString FreedesktopClassesRoot::mimePackagePath() const { return dataHome_ + QStringLiteral("/mime/packages/mivex2.xml"); }

// Not the installed entry's name: this one must not hide the installed menu entry.
QString FreedesktopClassesRoot::desktopEntryPath() const {
    return dataHome_ + QStringLiteral("/applications/mivex2-open-package.desktop");
}

QString FreedesktopClassesRoot::iconPath() const {
    return dataHome_ + QStringLiteral("/icons/hicolor/48x48/mimetypes/") + packageIconName() + QStringLiteral(".png");
}

QString FreedesktopClassesRoot::value(const QString& key) const {
    const auto row = rows_.find(key);
    return row == rows_.end() ? QString() : row->second;
}

QString FreedesktopClassesRoot::extensionOf(const QString& className) const {
    for (const auto& [key, data] : rows_)
        if (key.startsWith(QLatin1Char('.')) && data == className) return key;
    return {};
}

bool FreedesktopClassesRoot::setDefaultValue(const QString& key, const QString& data) {
    if (key.isEmpty() || dataHome_.isEmpty()) return false;
    rows_[key] = data;
    if (key.startsWith(QLatin1Char('.'))) return writeClass(data);
    return writeClass(key.section(QLatin1Char('\\'), 0, 0));
}

bool FreedesktopClassesRoot::writeClass(const QString& className) const {
    // A class is carried out once the extension that names it is known.
    if (extensionOf(className).isEmpty()) return true;
    bool written = writeMimePackage(className);
    if (!value(className + kIconKey).isEmpty()) written = writeIcon(className) && written;
    if (!value(className + kCommandKey).isEmpty()) written = writeDesktopEntry(className) && written;
    return written;
}

bool FreedesktopClassesRoot::writeMimePackage(const QString& className) const {
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"%1\">\n").arg(packageMimeType());
    const QString comment = value(className);
    if (!comment.isEmpty()) xml += QStringLiteral("    <comment>%1</comment>\n").arg(xmlEscaped(comment));
    if (!value(className + kIconKey).isEmpty())
        xml += QStringLiteral("    <icon name=\"%1\"/>\n").arg(packageIconName());
    xml += packageMagicXml();
    xml += QStringLiteral("    <glob pattern=\"*%1\" case-sensitive=\"true\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n").arg(xmlEscaped(extensionOf(className)));
    return writeTextFile(mimePackagePath(), xml.toUtf8());
}

bool FreedesktopClassesRoot::writeIcon(const QString& className) const {
    // Icon themes take PNG pictures, not .ico files: the icon is converted on the way.
    const QImage icon(value(className + kIconKey));
    if (icon.isNull() || !QDir().mkpath(QFileInfo(iconPath()).absolutePath())) return false;
    return icon.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(iconPath(), "PNG");
}

bool FreedesktopClassesRoot::writeDesktopEntry(const QString& className) const {
    const QString command = value(className + kCommandKey);
    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Name=Mivex 2\n"
                                   "Comment=%1\n"
                                   "TryExec=%2\n"
                                   "Exec=%3\n"
                                   "MimeType=%4;\n"
                                   "NoDisplay=true\n"
                                   "Terminal=false\n")
                        .arg(desktopEntryString(value(className)), desktopEntryString(commandProgram(command)),
                             desktopExecLine(command), packageMimeType());
    if (QFileInfo::exists(iconPath())) entry += QStringLiteral("Icon=%1\n").arg(desktopEntryString(iconPath()));
    return writeTextFile(desktopEntryPath(), entry.toUtf8());
}

void FreedesktopClassesRoot::finish() {
    if (dataHome_.isEmpty()) return;
    if (QDir(dataHome_ + QStringLiteral("/mime/packages")).exists())
        runIfInstalled(QStringLiteral("update-mime-database"), {dataHome_ + QStringLiteral("/mime")});
    if (QDir(dataHome_ + QStringLiteral("/applications")).exists())
        runIfInstalled(QStringLiteral("update-desktop-database"), {dataHome_ + QStringLiteral("/applications")});
}

}  // namespace platform
