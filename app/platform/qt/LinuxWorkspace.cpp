#include "app/platform/qt/LinuxWorkspace.h"

#include "app/platform/qt/DesktopEntryLauncher.h"
#include "shared/L10n.h"
#include "shared/QuillaPaths.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <cstdlib>
#include <set>

namespace quilla {
namespace {

namespace fs = std::filesystem;

// A cold-starting file manager may take a while to answer; a call that times out has most likely
// still been delivered, so only a refusal (no such service or method) falls back to xdg-open.
constexpr int kFileManagerTimeoutMs = 8000;
// The shell is running whenever it is on the bus; a slow answer means it is busy, not starting.
constexpr int kShellTimeoutMs = 2000;

QString qt(const fs::path& path) {
    return QString::fromStdString(path.string());
}

bool fail(std::string* error, std::string message) {
    if (error) {
        *error = std::move(message);
    }
    return false;
}

bool isApplicationsFolder(const fs::path& path) {
    std::error_code ec;
    const auto canonical = fs::weakly_canonical(path, ec);
    return !ec && canonical == fs::weakly_canonical(paths::applicationsDir(), ec);
}

bool isDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

} // namespace

bool LinuxWorkspace::callFileManager(const char* method, const std::vector<fs::path>& items) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QStringList uris;
    for (const auto& item : items) {
        uris << QUrl::fromLocalFile(qt(fs::absolute(item))).toString(QUrl::FullyEncoded);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QString::fromLatin1(method));
    call << uris << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, kFileManagerTimeoutMs);
    if (reply.type() != QDBusMessage::ErrorMessage) {
        return true;
    }
    return QDBusError(reply).type() == QDBusError::NoReply || QDBusError(reply).type() == QDBusError::Timeout;
}

bool LinuxWorkspace::startDetached(const fs::path& program, const std::vector<std::string>& arguments,
                                   const std::optional<fs::path>& directory, std::string* error) {
    QProcess process;
    process.setProgram(qt(program));
    QStringList args;
    for (const auto& argument : arguments) {
        args << QString::fromStdString(argument);
    }
    process.setArguments(args);
    if (directory) {
        process.setWorkingDirectory(qt(*directory));
    }
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        return fail(error, L10n::format<"无法启动程序：%@">(program.string()) +
                               L10n::parenthesized(process.errorString().toStdString()));
    }
    return true;
}

bool LinuxWorkspace::xdgOpen(const std::string& target, std::string* error) {
    if (!QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) {
        return startDetached("xdg-open", {target}, std::nullopt, error);
    }
    // Without xdg-utils GIO still knows the desktop's default applications.
    const bool isPath = !target.empty() && target.front() == '/';
    const std::string uri =
        isPath
            ? QUrl::fromLocalFile(QString::fromStdString(target)).toString(QUrl::FullyEncoded).toStdString()
            : target;
    return DesktopEntryLauncher::launchDefault(uri, error);
}

bool LinuxWorkspace::showApplicationGrid() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    const QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
                                       QStringLiteral("org.gnome.Shell"), QStringLiteral("ShowApplications"));
    return bus.call(call, QDBus::Block, kShellTimeoutMs).type() != QDBusMessage::ErrorMessage;
}

bool LinuxWorkspace::open(const fs::path& path, std::string* error) {
    // The applications folder is a folder of desktop entries, not what the user means by
    // "applications": GNOME Shell shows them in its application grid.
    if (isApplicationsFolder(path) && showApplicationGrid()) {
        return true;
    }
    if (isDirectory(path) && callFileManager("ShowFolders", {path})) {
        return true;
    }
    return xdgOpen(fs::absolute(path).string(), error);
}

bool LinuxWorkspace::revealItems(const std::vector<fs::path>& items, std::string* error) {
    if (items.empty() || callFileManager("ShowItems", items)) {
        return true;
    }
    // Without a file manager on the bus, show at least the folders that hold the items.
    std::set<fs::path> folders;
    for (const auto& item : items) {
        folders.insert(fs::absolute(item).parent_path());
    }
    bool opened = true;
    for (const auto& folder : folders) {
        opened = xdgOpen(folder.string(), error) && opened;
    }
    return opened;
}

bool LinuxWorkspace::openWithApplication(const fs::path& desktopEntry, const std::vector<fs::path>& items,
                                         std::string* error) {
    return DesktopEntryLauncher::launch(desktopEntry, items, error);
}

bool LinuxWorkspace::openURL(const std::string& url, std::string* error) {
    return xdgOpen(url, error);
}

bool LinuxWorkspace::openTerminal(const fs::path& directory, std::string* error) {
    const char* path = std::getenv("PATH");
    const auto command = terminalCommand(directory, path ? path : "/usr/local/bin:/usr/bin:/bin");
    if (!command) {
        return fail(error, L10n::text<"没有找到可用的终端应用。">());
    }
    return startDetached(command->program, command->arguments, directory, error);
}

std::optional<LinuxWorkspace::TerminalCommand> LinuxWorkspace::terminalCommand(const fs::path& directory,
                                                                               std::string_view searchPath) {
    struct Candidate {
        const char* name;
        std::vector<std::string> arguments;
    };
    const std::string dir = fs::absolute(directory).string();
    // Terminals that hand the window to a server process ignore our working directory.
    const Candidate candidates[] = {
        {"x-terminal-emulator", {}},
        {"gnome-terminal", {"--working-directory=" + dir}},
        {"kgx", {"--working-directory=" + dir}},
        {"konsole", {"--workdir", dir}},
        {"xterm", {}},
    };
    const QStringList folders =
        QString::fromUtf8(searchPath.data(), static_cast<qsizetype>(searchPath.size()))
            .split(u':', Qt::SkipEmptyParts);
    if (folders.isEmpty()) {
        return std::nullopt; // an empty list would make Qt search our own PATH instead
    }
    for (const auto& candidate : candidates) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(candidate.name), folders);
        if (!found.isEmpty()) {
            return TerminalCommand{fs::path(found.toStdString()), candidate.arguments};
        }
    }
    return std::nullopt;
}

} // namespace quilla
