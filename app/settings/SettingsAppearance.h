#pragma once

#include <QString>

class QApplication;

namespace quilla {

/// Makes the window look at home: on GNOME the Adwaita style (light or dark as the desktop
/// prefers) with GTK's platform theme (GTK file dialogs); elsewhere Fusion. The pages draw their
/// tiles and switches themselves, so they look alike in every style.
class SettingsAppearance final {
public:
    /// Before the QApplication exists: asks for the GTK platform theme on GNOME unless the user
    /// chose a platform theme already.
    static void prepareEnvironment();
    /// After it exists: the style, a dark palette where the style has none, the icon theme.
    static void apply(QApplication& application);

    /// The GNOME look in light or dark whatever the desktop (the screenshots use it); Fusion
    /// with a matching palette where the Adwaita style is not installed.
    static void applyTheme(QApplication& application, bool dark);

    /// The style for a desktop (XDG_CURRENT_DESKTOP), given which styles exist and the dark wish.
    static QString styleName(const QString& desktop, const QStringList& availableStyles, bool dark);
    /// True when the desktop prefers dark (GNOME's color-scheme "prefer-dark").
    static bool prefersDark();

private:
    static void applyStyle(QApplication& application, const QString& style, bool dark);
};

} // namespace quilla
