#pragma once

#include <QString>

#include <functional>

class QDir;
class QWidget;

namespace quilla {

class SettingsWindow;
class StandaloneSettingsStores;

/// Saves `widget` as folder/name.png once its layout has settled; answers whether it could.
using ScreenshotSaver = std::function<bool(QWidget& widget, const QDir& folder, const QString& name)>;

/// Renders the page of every feature with a list, scrolled to its list editor, once with a few
/// entries ("list-<feature>.zh.<theme>") and once empty ("list-<feature>-empty.zh.<theme>"). The
/// entries are made through the stores, in the current (throwaway) home.
bool renderListEditors(SettingsWindow& window, StandaloneSettingsStores& stores, const QDir& folder,
                       const QString& theme, const ScreenshotSaver& save);

/// Renders the application chooser (the installed applications) and the shortcut picker, with
/// shortcuts and without ("chooser-….zh.<theme>"), over `parent`.
bool renderChoosers(QWidget& parent, const QDir& folder, const QString& theme, const ScreenshotSaver& save);

} // namespace quilla
