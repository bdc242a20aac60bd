#pragma once

#include <QIcon>

namespace quilla {

/// Quilla's own icon, from the resources of the settings window.
QIcon applicationIcon();

} // namespace quilla
