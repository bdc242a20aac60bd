#include "app/settings/lists/FeatureListEditors.h"

#include <QWidget>

namespace quilla {

std::vector<QWidget*> makeFeatureListEditors(std::string_view, ListEditorStores&, QWidget*) {
    return {};
}

} // namespace quilla
