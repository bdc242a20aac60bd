#include "app/settings/SaveFailureLine.h"

#include "app/core/FeatureSettingsStore.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsSection.h"

namespace quilla {

void showSaveResult(SettingsSection& section, const FeatureSettingsStore& store) {
    section.setErrorMessage(store.lastSaveFailed() ? localized<"无法保存设置，右键菜单没有更新。">()
                                                   : QString());
}

} // namespace quilla
