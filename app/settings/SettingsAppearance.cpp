#include "app/settings/SettingsAppearance.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>

namespace quilla {
namespace {

bool isGnome(const QString& desktop) {
    return desktop.split(QLatin1Char(':')).contains(QStringLiteral("GNOME"), Qt::CaseInsensitive);
}

QString currentDesktop() {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP");
}

QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x24, 0x24, 0x24));
    palette.setColor(QPalette::WindowText, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::Base, QColor(0x30, 0x30, 0x30));
    palette.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a));
    palette.setColor(QPalette::Text, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::ButtonText, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    palette.setColor(QPalette::HighlightedText, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::ToolTipBase, QColor(0x30, 0x30, 0x30));
    palette.setColor(QPalette::ToolTipText, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a));
    return palette;
}

} // namespace

void SettingsAppearance::prepareEnvironment() {
    if (isGnome(currentDesktop()) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME")) {
        qputenv("QT_QPA_PLATFORMTHEME", "gtk3");
    }
}

QString SettingsAppearance::styleName(const QString& desktop, const QStringList& availableStyles, bool dark) {
    const QString adwaita = dark ? QStringLiteral("Adwaita-Dark") : QStringLiteral("Adwaita");
    if (isGnome(desktop) && availableStyles.contains(adwaita, Qt::CaseInsensitive)) {
        return adwaita;
    }
    return QStringLiteral("Fusion");
}

bool SettingsAppearance::prefersDark() {
    if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty()) {
        return false;
    }
    QProcess process;
    process.start(QStringLiteral("gsettings"),
                  {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                   QStringLiteral("color-scheme")});
    if (!process.waitForFinished(1000)) {
        process.kill();
        return false;
    }
    return QString::fromUtf8(process.readAllStandardOutput()).contains(QLatin1String("prefer-dark"));
}

void SettingsAppearance::apply(QApplication& application) {
    const bool dark = isGnome(currentDesktop()) && prefersDark();
    applyStyle(application, styleName(currentDesktop(), QStyleFactory::keys(), dark), dark);
}

void SettingsAppearance::applyTheme(QApplication& application, bool dark) {
    applyStyle(application, styleName(QStringLiteral("GNOME"), QStyleFactory::keys(), dark), dark);
}

void SettingsAppearance::applyStyle(QApplication& application, const QString& style, bool dark) {
    if (QStyle* chosen = QStyleFactory::create(style)) {
        QApplication::setStyle(chosen);
        // Fusion has no dark palette of its own; Adwaita-Dark brings one.
        application.setPalette(style == QLatin1String("Fusion") && dark ? darkPalette()
                                                                        : chosen->standardPalette());
    }
    // Without a desktop (offscreen, a bare X session) Qt knows no icon theme: use Adwaita's.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    }
}

} // namespace quilla
