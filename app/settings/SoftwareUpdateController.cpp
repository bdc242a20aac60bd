#include "app/settings/SoftwareUpdateController.h"

#include "app/settings/FeatureRequestMailer.h"
#include "app/settings/InformationDialog.h"
#include "app/settings/components/SettingsRowText.h"
#include "shared/L10n.h"

#include <QMessageBox>
#include <QRegularExpression>

namespace quilla {
namespace {

QString field(const QString& output, const QString& name) {
    const QRegularExpression pattern(QStringLiteral("^\\s*%1:\\s*(\\S+)").arg(name),
                                     QRegularExpression::MultilineOption);
    const auto match = pattern.match(output);
    if (!match.hasMatch() || match.captured(1) == QLatin1String("(none)")) {
        return {};
    }
    return match.captured(1);
}

} // namespace

SoftwareUpdateController::SoftwareUpdateController(PolicySource policy) : policy_(std::move(policy)) {}

std::optional<SoftwareUpdateController::PackagePolicy>
SoftwareUpdateController::parsePolicy(const QString& output) {
    if (!output.contains(
            QRegularExpression(QStringLiteral("^quilla:"), QRegularExpression::MultilineOption))) {
        return std::nullopt;
    }
    return PackagePolicy{field(output, QStringLiteral("Installed")),
                         field(output, QStringLiteral("Candidate"))};
}

QString SoftwareUpdateController::message(const QString& version,
                                          const std::optional<PackagePolicy>& policy) {
    QString text = localizedFormat<"当前版本 %@">(version) + QLatin1Char('\n') +
                   localized<"Quilla 通过系统的软件包管理器更新。">();
    if (!policy || policy->installed.isEmpty()) {
        return text + QLatin1Char('\n') + localized<"这份 Quilla 不是从软件包安装的，请用安装它的方式更新。">();
    }
    text += QLatin1Char('\n') + localizedFormat<"已安装的软件包版本：%@">(policy->installed);
    if (policy->candidate.isEmpty() || policy->candidate == policy->installed) {
        return text + QLatin1Char('\n') + localized<"软件包管理器没有提供更新的版本。">();
    }
    return text + QLatin1Char('\n') + localizedFormat<"软件包管理器提供的版本：%@">(policy->candidate);
}

QString SoftwareUpdateController::currentMessage() const {
    std::optional<PackagePolicy> policy;
    if (policy_) {
        if (const auto output = policy_()) {
            policy = parsePolicy(*output);
        }
    }
    return message(FeatureRequestMailer::appVersion(), policy);
}

std::unique_ptr<QMessageBox> SoftwareUpdateController::makeDialog(QWidget* parent) const {
    return makeInformationDialog(localized<"检查更新">(), localized<"检查更新">(), currentMessage(), parent);
}

void SoftwareUpdateController::checkForUpdates(QWidget* parent) const {
    makeDialog(parent)->exec();
}

} // namespace quilla
