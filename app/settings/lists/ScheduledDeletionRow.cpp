#include "app/settings/lists/ScheduledDeletionRow.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/ElidedLabel.h"
#include "app/settings/lists/ListRowParts.h"
#include "shared/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <filesystem>
#include <memory>

namespace quilla {

namespace m = settings_metrics;

ScheduledDeletionRow::ScheduledDeletionRow(const ScheduledDeletionItem& item, std::array<RGBColor, 2> colors,
                                           std::function<void()> cancel, QWidget* parent)
    : QWidget(parent) {
    auto* layout = ListRowParts::rowLayout(this, m::rowMinimumHeight);
    layout->addWidget(ListRowParts::tile("clock.badge.xmark", colors, this));
    const auto detail = dueText(item.deleteAt, dateLocale()) + " · " + item.path;
    name_ = ListRowParts::titleLabel(qtText(std::filesystem::path(item.path).filename().string()), this);
    name_->setFont(settingsFont(font(), m::titlePixelSize, QFont::Medium));
    detail_ = ListRowParts::detailLabel(qtText(detail), this);
    layout->addLayout(ListRowParts::textColumn(name_, detail_), 1);
    cancel_ = new QPushButton(qtText(L10n::text<"取消">()), this);
    connect(cancel_, &QPushButton::clicked, this, [cancel = std::move(cancel)] { cancel(); });
    layout->addWidget(cancel_);
}

std::string ScheduledDeletionRow::dateLocale() {
    // A session without a language (the C locale) would get English dates amid Chinese text;
    // the application's own language reads better there.
    const QLocale system = QLocale::system();
    return system.language() == QLocale::C ? std::string("zh_CN") : system.name().toStdString();
}

std::string ScheduledDeletionRow::dueText(std::chrono::system_clock::time_point when,
                                          const std::string& locale, const std::string& timeZone) {
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateTimeInstance(
        icu::DateFormat::kMedium, icu::DateFormat::kShort, icu::Locale(locale.c_str())));
    if (!format) {
        return {};
    }
    if (!timeZone.empty()) {
        format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone)));
    }
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
    icu::UnicodeString text;
    format->format(static_cast<UDate>(milliseconds.count()), text);
    std::string result;
    text.toUTF8String(result);
    return result;
}

} // namespace quilla
