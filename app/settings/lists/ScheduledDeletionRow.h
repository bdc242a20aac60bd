#pragma once

#include "app/core/deletion/ScheduledDeletionItem.h"
#include "shared/catalog/RGBColor.h"

#include <QWidget>

#include <array>
#include <chrono>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace quilla {

class ElidedLabel;

/// One item waiting for the Trash: icon tile, its file name, the due time and full path below
/// it, and the button "取消".
class ScheduledDeletionRow final : public QWidget {
public:
    ScheduledDeletionRow(const ScheduledDeletionItem& item, std::array<RGBColor, 2> colors,
                         std::function<void()> cancel, QWidget* parent = nullptr);

    QLabel* nameLabel() const { return name_; }
    ElidedLabel* detailLabel() const { return detail_; }
    QPushButton* cancelButton() const { return cancel_; }

    /// The due time as the row shows it: an abbreviated date and a short time in `locale` (an
    /// ICU/Qt locale name such as "zh_CN"), in `timeZone` (an Olson id; empty = the user's zone).
    static std::string dueText(std::chrono::system_clock::time_point when, const std::string& locale,
                               const std::string& timeZone = {});
    /// The locale the dates are shown in: the user's, or Chinese where the session has none.
    static std::string dateLocale();

private:
    QLabel* name_;
    ElidedLabel* detail_;
    QPushButton* cancel_;
};

} // namespace quilla
