#pragma once

namespace quilla {

class FeatureSettingsStore;
class SettingsSection;

/// After the user changed something in `section`: a line in the error colour under it when the
/// change could not be saved (the file manager's menu still reads the old settings), none
/// otherwise.
void showSaveResult(SettingsSection& section, const FeatureSettingsStore& store);

} // namespace quilla
